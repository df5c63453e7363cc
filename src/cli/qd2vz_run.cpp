// qd2vz: converts QD line-symbol deformation data into the VZ line-deformation macro, writing
// the same bytes that the window saves for the same data and character-size file.
#include "cli/qd2vz_run.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/console.h"
#include "cli/options.h"
#include "cli/run_in_order.h"
#include "convert/size_table.h"
#include "convert/text.h"
#include "cp932/cp932.h"
#include "io/file_bytes.h"
#include "io/file_identity.h"
#include "io/io_messages.h"
#include "io/qd_bytes.h"
#include "io/save_text.h"
#include "io/size_file.h"
#include "io/system_error.h"

namespace qdvz::cli {
namespace fs = std::filesystem;

namespace {

constexpr char kProgram[] = "qd2vz";
constexpr char16_t kWouldOverwriteInput[] = u"入力ファイルは上書きしません";
constexpr char16_t kDuplicateOutput[] = u"同じ名前の出力ファイルが既にこの実行で書かれています";
constexpr char16_t kStdoutFailed[] = u"標準出力に書き込めません";
constexpr char16_t kCannotCreateDirectory[] = u"出力先のフォルダーを作れません";
constexpr char16_t kNoMatch[] = u"このパターンに一致するファイルがありません";
constexpr char16_t kEmptyInputName[] = u"入力ファイルの名前が空です";

// The help. It writes paths with the system's separator (a backslash on Windows) and names the
// help switch of the platform's own programs, if any.
std::string HelpText() {
  const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
  std::string helpSwitches = "-h, --help";
  if (*kPlatformHelpSwitch != '\0') helpSwitches += std::string(", ") + kPlatformHelpSwitch;
  helpSwitches.resize(18, ' ');
  return "使い方: qd2vz -s 文字サイズ.qdc [オプション]... ファイル...\n"
         "ＱＤの線記号変形データをＶＺの線変形マクロに変換します。\n"
         "入力と出力はコードページ932（Shift-JIS）、行末は CR LF です。\n"
         "\n"
         "  -s, --sizes=FILE      文字サイズ設定ファイル（必須）\n"
         "  -o, --output=FILE     マクロを FILE に書く（入力が一つのとき）\n"
         "  -d, --directory=DIR   各入力のマクロを DIR" +
         separator + "<名前>.txt に書く\n  " + helpSwitches +
         "    この説明を表示して終了する\n"
         "  -V, --version         版を表示して終了する\n"
         "\n"
         "入力の FILE が - のときは標準入力を読みます。-s - は文字サイズ設定ファイルを標準入力"
         "から読みます（入力の - とは一緒に使えません）。\n"
         "-o も -d もないとき（-o - のときも）はマクロを標準出力に書きます。\n"
         "新しい出力は一時ファイルを経て完成してから現れ、中断（Ctrl+C など）しても一時ファイルや"
         "書きかけのファイルは残りません。\n"
         "終了状態: 0 すべて変換した、1 変換できない入力があった、2 使い方の誤り。\n";
}

// "出力先のフォルダーを作れません（why）", the cause in the words of a failed write.
std::u16string CannotCreateDirectory(const fs::path& folder, std::error_code error) {
  std::u16string message = kCannotCreateDirectory;
  // A file of that very name is in the way, rather than on the path to it.
  std::error_code ignored;
  if (!error || (fs::exists(folder, ignored) && !fs::is_directory(folder, ignored))) {
    error = std::make_error_code(std::errc::file_exists);
  }
  // The words are looked up by the system's codes.
  if (HoldsSystemError(error)) {
    message += u"（" + FileFailure(FileStep::kWrite, error.value()).message + u"）";
  }
  return message;
}

void Report(const std::string& file, int line, std::u16string_view message) {
  std::string where = file.empty() ? "" : file + ":";
  if (line > 0) where += std::to_string(line) + ":";
  WriteError(std::string(kProgram) + ": " + where + (where.empty() ? "" : " ") + ToUtf8(message) +
             "\n");
}

void Report(const std::string& file, const Failure& failure) {
  Report(file, failure.line, failure.message);
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
  Converter(const Options& options, const std::vector<FileArg>& inputs, const SizeItems& sizes)
      : options_(options), sizes_(sizes) {
    // Every file the run reads is an input that no output may replace: the data files, the
    // size file and the file behind standard input. Their identities are taken once: asking
    // again for every output made a batch of n files cost n * n lookups.
    AddInput(options.sizeFile);
    for (const FileArg& input : inputs) AddInput(input);
    // An output that is already open as standard output or error is written through it.
    for (StandardStream stream : {StandardStream::kOutput, StandardStream::kError}) {
      if (auto identity = IdentityOf(stream)) openStreams_.push_back({stream, *identity});
    }
  }

  // Loads, converts and encodes one input: everything but writing, so that several inputs
  // can be prepared at once. Touches nothing shared, and throws nothing.
  Prepared Prepare(const FileArg& input) const {
    Prepared prepared;
    auto note = [&](int line, std::u16string_view message) {
      prepared.messages.push_back({input.name, line, std::u16string(message)});
    };
    try {
      if (HasWildcard(input.name)) {
        note(0, kNoMatch);
        return prepared;
      }
      if (input.name.empty()) {
        note(0, kEmptyInputName);
        return prepared;
      }
      Result<std::string> bytes =
          input.IsStandardStream() ? ReadStandardInput() : ReadFileBytes(input.path);
      if (!bytes) {
        note(bytes.failure().line, bytes.failure().message);
        return prepared;
      }
      MacroBytes converted = ConvertQdBytes(*bytes, sizes_);
      if (converted.warning) note(converted.warning->line, converted.warning->message);
      if (!converted.macro) {
        note(converted.macro.failure().line, converted.macro.failure().message);
        return prepared;
      }
      prepared.bytes = std::move(*converted.macro);
    } catch (const std::exception& error) {
      prepared.bytes.reset();
      note(0, DescribeUnexpected(error));
    }
    return prepared;
  }

  // Reports what preparing found and writes the macro; false when the input was refused or
  // failed. Inputs are finished one at a time, in the order given.
  bool Finish(const FileArg& input, const Prepared& prepared) {
    for (const auto& [file, line, message] : prepared.messages) Report(file, line, message);
    return prepared.bytes && Write(input, *prepared.bytes);
  }

 private:
  // The size file or an input that no output may replace.
  void AddInput(const FileArg& input) {
    if (input.IsStandardStream()) {
      inputs_.Add(StandardStream::kInput);
    } else {
      inputs_.Add(input.path);
    }
  }

  bool Write(const FileArg& input, const std::string& bytes) {
    if (!options_.outputFile && !options_.outputDirectory) {
      if (WriteStdout(bytes)) return true;
      Report(input.name, 0, kStdoutFailed);
      return false;
    }
    fs::path target;
    if (options_.outputFile) {
      target = options_.outputFile->path;
    } else {
      target = options_.outputDirectory->path / input.path.stem();
      target += ".txt";
    }
    std::string shown = Shown(target);
    if (inputs_.ReplacedBy(target)) {
      Report(shown, 0, kWouldOverwriteInput);
      return false;
    }
    if (written_.Holds(target)) {
      Report(shown, 0, kDuplicateOutput);
      return false;
    }
    if (Result<void> written = WriteFileSafely(target, bytes, openStreams_); !written) {
      Report(shown, written.failure());
      return false;
    }
    written_.Add(target);
    return true;
  }

  const Options& options_;
  const SizeItems& sizes_;
  InputFiles inputs_;
  WrittenFiles written_;
  std::vector<OpenStream> openStreams_;
};

int Run(const std::vector<std::string>& args) {
  Result<Options> parsed = ParseOptions(args);
  if (!parsed) {
    WriteError(std::string(kProgram) + ": " + ToUtf8(parsed.failure().message) + "\n" + kProgram +
               ": 詳しくは 'qd2vz --help' を参照してください\n");
    return 2;
  }
  const Options& options = *parsed;
  if (options.help || options.version) {
    std::string text =
        options.help ? HelpText() : std::string("qd2vz (qdvz) ") + QDVZ_VERSION + "\n";
    if (WriteText(TextStream::kOutput, text)) return 0;
    Report("", 0, kStdoutFailed);
    return 1;
  }
  // Without the converter no file can be read: say so once rather than for every input.
  if (!Cp932ConverterAvailable()) {
    Report("", 0, msg::kNoCp932Converter);
    return 1;
  }

  Result<LoadedSizeFile> sizeFile = options.sizeFile.IsStandardStream()
                                        ? LoadSizeFileFromStandardInput()
                                        : LoadSizeFile(options.sizeFile.path);
  if (!sizeFile) {
    Report(options.sizeFile.name, sizeFile.failure());
    return 1;
  }
  const SizeTable& sizes = sizeFile->table;
  if (sizes.warning) Report(options.sizeFile.name, *sizes.warning);

  if (const std::optional<FileArg>& folder = options.outputDirectory) {
    std::error_code error;
    fs::create_directories(folder->path, error);
    if (error || !fs::is_directory(folder->path)) {
      Report(folder->name, 0, CannotCreateDirectory(folder->path, error));
      return 1;
    }
  }

  const std::vector<FileArg> inputs = ExpandWildcards(options.inputs);
  Converter converter(options, inputs, sizes.items);
  bool allConverted = true;
  // A batch into a directory prepares inputs on every core while finishing them in order;
  // standard input and standard output are used one input at a time.
  unsigned workers = options.outputDirectory ? std::thread::hardware_concurrency() : 1;
  auto prepare = [&](size_t i) { return converter.Prepare(inputs[i]); };
  auto finish = [&](size_t i, const Prepared& prepared) {
    allConverted = converter.Finish(inputs[i], prepared) && allConverted;
  };
  RunInOrder(inputs.size(), workers, prepare, finish);
  return allConverted ? 0 : 1;
}

}  // namespace

int RunQd2vz(const std::vector<std::string>& args) {
  try {
    return Run(args);
  } catch (const std::exception& error) {
    Report("", 0, DescribeUnexpected(error));
    return 1;
  }
}

}  // namespace qdvz::cli
