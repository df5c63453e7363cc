// qd2vz: converts QD line-symbol deformation data into the VZ line-deformation macro, writing
// the same bytes that the window saves for the same data and character-size file.
#include "cli/qd2vz_run.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/console.h"
#include "cli/options.h"
#include "cli/run_in_order.h"
#include "convert/size_table.h"
#include "convert/text.h"
#include "io/file_bytes.h"
#include "io/file_identity.h"
#include "io/qd_bytes.h"
#include "io/save_text.h"
#include "io/size_file.h"

namespace qdvz::cli {
namespace fs = std::filesystem;

namespace {

constexpr char kProgram[] = "qd2vz";
constexpr char16_t kWouldOverwriteInput[] = u"入力ファイルは上書きしません";
constexpr char16_t kDuplicateOutput[] = u"同じ名前の出力ファイルが既にこの実行で書かれています";
constexpr char16_t kStdinFailed[] = u"標準入力を読めません";
constexpr char16_t kStdoutFailed[] = u"標準出力に書き込めません";
constexpr char16_t kCannotCreateDirectory[] = u"出力先のフォルダーを作れません";

void Report(const std::string& file, int line, std::u16string_view message) {
  std::string where = file.empty() ? "" : file + ":";
  if (line > 0) where += std::to_string(line) + ":";
  WriteError(std::string(kProgram) + ": " + where + (where.empty() ? "" : " ") + ToUtf8(message) +
             "\n");
}

void Report(const std::string& file, const Failure& failure) {
  Report(file, failure.line, failure.message);
}

void PrintHelp() {
  std::cout << "使い方: qd2vz -s 文字サイズ.qdc [オプション]... ファイル...\n"
               "ＱＤの線記号変形データをＶＺの線変形マクロに変換します。\n"
               "入力と出力はコードページ932（Shift-JIS）、行末は CR LF です。\n"
               "\n"
               "  -s, --sizes=FILE      文字サイズ設定ファイル（必須）\n"
               "  -o, --output=FILE     マクロを FILE に書く（入力が一つのとき）\n"
               "  -d, --directory=DIR   各入力のマクロを DIR/<名前>.txt に書く\n"
               "  -h, --help            この説明を表示して終了する\n"
               "  -V, --version         版を表示して終了する\n"
               "\n"
               "FILE が - のときは標準入力を読みます。-o も -d もないときはマクロを標準出力に"
               "書きます。\n"
               "終了状態: 0 すべて変換した、1 変換できない入力があった、2 使い方の誤り。\n";
}

// One input made ready for writing: its messages and, unless it was refused, its bytes.
struct Prepared {
  struct Message {
    std::string file;
    int line;
    std::u16string text;
  };
  std::vector<Message> messages;
  std::optional<std::string> bytes;
};

class Converter {
 public:
  Converter(const Options& options, const SizeItems& sizes) : options_(options), sizes_(sizes) {
    // The inputs' identities are taken once: asking the file system about every input again
    // for every output made a batch of n files cost n * n lookups.
    for (const auto& input : options.inputs) {
      if (input == "-") continue;
      if (auto identity = IdentityOf(ArgPath(input))) inputs_.insert(*identity);
    }
  }

  // Loads, converts and encodes one input: everything but writing, so that several inputs
  // can be prepared at once. Touches nothing shared.
  Prepared Prepare(const std::string& input) const {
    Prepared prepared;
    auto note = [&](const Failure& failure) {
      prepared.messages.push_back({input, failure.line, failure.message});
    };
    Result<std::string> bytes = ReadInput(input);
    if (!bytes) {
      note(bytes.failure());
      return prepared;
    }
    MacroBytes converted = ConvertQdBytes(*bytes, sizes_);
    if (converted.warning) note(*converted.warning);
    if (!converted.macro) {
      note(converted.macro.failure());
      return prepared;
    }
    prepared.bytes = std::move(*converted.macro);
    return prepared;
  }

  // Reports what preparing found and writes the macro; false when the input was refused or
  // failed. Inputs are finished one at a time, in the order given.
  bool Finish(const std::string& input, const Prepared& prepared) {
    for (const auto& [file, line, message] : prepared.messages) Report(file, line, message);
    return prepared.bytes && Write(input, *prepared.bytes);
  }

 private:
  static Result<std::string> ReadInput(const std::string& input) {
    if (input != "-") return ReadFileBytes(ArgPath(input));
    std::string bytes;
    if (!ReadAllStdin(bytes)) return Failure{FailureKind::kFileAccess, kStdinFailed};
    return bytes;
  }

  bool Write(const std::string& input, const std::string& bytes) {
    fs::path target;
    if (options_.outputFile) {
      target = ArgPath(*options_.outputFile);
    } else if (options_.outputDirectory) {
      target = ArgPath(*options_.outputDirectory) / ArgPath(input).stem();
      target += ".txt";
    } else {
      if (!WriteStdout(bytes)) {
        Report(input, 0, kStdoutFailed);
        return false;
      }
      return true;
    }
    std::string shown = Shown(target);
    auto identity = IdentityOf(target);
    if (identity && inputs_.contains(*identity)) {
      Report(shown, 0, kWouldOverwriteInput);
      return false;
    }
    // Two inputs with one stem (a/x.dat, b/x.dat, or names that differ only in case on
    // Windows) would give one output: the second must not replace the first.
    if (identity && written_.contains(*identity)) {
      Report(shown, 0, kDuplicateOutput);
      return false;
    }
    if (Result<void> written = WriteFileAtomically(target, bytes); !written) {
      Report(shown, written.failure());
      return false;
    }
    if (auto written = IdentityOf(target)) written_.insert(*written);
    return true;
  }

  const Options& options_;
  const SizeItems& sizes_;
  std::set<FileIdentity> inputs_;
  std::set<FileIdentity> written_;
};

}  // namespace

int RunQd2vz(const std::vector<std::string>& args) {
  Result<Options> parsed = ParseOptions(args);
  if (!parsed) {
    WriteError(std::string(kProgram) + ": " + ToUtf8(parsed.failure().message) + "\n" + kProgram +
               ": 詳しくは 'qd2vz --help' を参照してください\n");
    return 2;
  }
  const Options& options = *parsed;
  if (options.help) {
    PrintHelp();
    return 0;
  }
  if (options.version) {
    std::cout << "qd2vz (qdvz) " << QDVZ_VERSION << '\n';
    return 0;
  }

  Result<LoadedSizeFile> sizeFile = LoadSizeFile(ArgPath(options.sizeFile));
  if (!sizeFile) {
    Report(options.sizeFile, sizeFile.failure());
    return 1;
  }
  const SizeTable& sizes = sizeFile->table;
  if (sizes.warning) Report(options.sizeFile, *sizes.warning);

  if (options.outputDirectory) {
    std::error_code error;
    fs::create_directories(ArgPath(*options.outputDirectory), error);
    if (error || !fs::is_directory(ArgPath(*options.outputDirectory))) {
      Report(*options.outputDirectory, 0, kCannotCreateDirectory);
      return 1;
    }
  }

  Converter converter(options, sizes.items);
  bool allConverted = true;
  // A batch into a directory prepares inputs on every core while finishing them in order;
  // standard input and standard output are used one input at a time.
  unsigned workers = options.outputDirectory ? std::thread::hardware_concurrency() : 1;
  auto prepare = [&](size_t i) { return converter.Prepare(options.inputs[i]); };
  auto finish = [&](size_t i, const Prepared& prepared) {
    allConverted = converter.Finish(options.inputs[i], prepared) && allConverted;
  };
  RunInOrder(options.inputs.size(), workers, prepare, finish);
  return allConverted ? 0 : 1;
}

}  // namespace qdvz::cli
