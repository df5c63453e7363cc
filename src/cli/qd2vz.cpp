// qd2vz: converts QD line-symbol deformation data into the VZ line-deformation macro, writing
// the same bytes that the window saves for the same data and character-size file.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "cli/options.h"
#include "convert/convert_records.h"
#include "convert/messages.h"
#include "convert/size_table.h"
#include "convert/text.h"
#include "io/save_text.h"
#include "io/size_file.h"
#include "io/source_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using namespace qdvz;

namespace {

constexpr char kProgram[] = "qd2vz";
constexpr char16_t kLineLimit[] = u"データ行が制限を越えました";
constexpr char16_t kWouldOverwriteInput[] = u"入力ファイルは上書きしません";
constexpr char16_t kDuplicateOutput[] = u"同じ名前の出力ファイルが既にこの実行で書かれています";
constexpr char16_t kStdoutFailed[] = u"標準出力に書き込めません";
constexpr char16_t kCannotCreateDirectory[] = u"出力先のフォルダーを作れません";

void Report(const std::string& file, int line, std::u16string_view message) {
  std::string where = file.empty() ? "" : file + ":";
  if (line > 0) where += std::to_string(line) + ":";
  std::cerr << kProgram << ": " << where << (where.empty() ? "" : " ") << ToUtf8(message) << '\n';
}

void Report(const std::string& file, const Refusal& refusal) {
  Report(file, refusal.line, refusal.message);
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

bool ReadAllStdin(std::string& bytes) {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) bytes.append(buffer, got);
  return !std::ferror(stdin);
}

bool WriteStdout(const std::string& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
         std::fflush(stdout) == 0;
}

#ifdef _WIN32
bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error);
}
#else
// The file a path leads to, links followed; nothing when there is none.
std::optional<std::pair<dev_t, ino_t>> IdentityOf(const fs::path& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return std::pair(info.st_dev, info.st_ino);
}
#endif

// The input files, which no output may replace. Their identities are taken once: asking
// the file system about every input again for every output made a batch of n files cost
// n * n lookups. An input that does not exist yet is looked at each time.
class Inputs {
 public:
  explicit Inputs(const std::vector<std::string>& inputs) {
    for (const auto& input : inputs) {
      if (input == "-") continue;
#ifdef _WIN32
      absent_.emplace_back(input);
#else
      if (auto identity = IdentityOf(input)) {
        identities_.insert(*identity);
      } else {
        absent_.emplace_back(input);
      }
#endif
    }
  }

  bool Contains(const fs::path& target) const {
#ifdef _WIN32
    for (const auto& input : absent_) {
      if (SameFile(target, input)) return true;
    }
    return false;
#else
    auto identity = IdentityOf(target);
    if (!identity) return false;
    if (identities_.contains(*identity)) return true;
    for (const auto& input : absent_) {
      if (IdentityOf(input) == identity) return true;
    }
    return false;
#endif
  }

 private:
#ifndef _WIN32
  std::set<std::pair<dev_t, ino_t>> identities_;
#endif
  std::vector<fs::path> absent_;
};

class Converter {
 public:
  Converter(const cli::Options& options, const SizeItems& sizes)
      : options_(options), sizes_(sizes), inputs_(options.inputs) {}

  // Converts one input and writes its macro; false when the input was refused or failed.
  bool Convert(const std::string& input) {
    LoadedLines loaded;
    if (input == "-") {
      std::string bytes;
      if (!ReadAllStdin(bytes)) {
        Report("-", 0, u"標準入力を読めません");
        return false;
      }
      loaded = SplitSourceBytes(bytes);
    } else {
      loaded = LoadSourceLines(fs::path(input));
    }
    if (loaded.error) {
      Report(input, *loaded.error);
      return false;
    }
    if (loaded.truncated) Report(input, kMaxLoadedLines + 1, kLineLimit);
    if (!HasSizeData(sizes_)) {
      Report(input, 0, msg::kNoSizeData);
      return false;
    }
    ConversionOutcome outcome = ConvertRecords(loaded.lines, sizes_);
    if (outcome.refusal) {
      Report(input, *outcome.refusal);
      return false;
    }
    EncodedText encoded = EncodeSavedText(outcome.document);
    if (encoded.error) {
      Report(input, *encoded.error);
      return false;
    }
    return Write(input, encoded.bytes);
  }

 private:
  bool Write(const std::string& input, const std::string& bytes) {
    fs::path target;
    if (options_.outputFile) {
      target = fs::path(*options_.outputFile);
    } else if (options_.outputDirectory) {
      target = fs::path(*options_.outputDirectory) / fs::path(input).stem();
      target += ".txt";
    } else {
      if (!WriteStdout(bytes)) {
        Report(input, 0, kStdoutFailed);
        return false;
      }
      return true;
    }
    std::string shown = target.string();
    if (inputs_.Contains(target)) {
      Report(shown, 0, kWouldOverwriteInput);
      return false;
    }
    if (options_.outputDirectory) {
      if (!written_.insert(fs::weakly_canonical(target).string()).second) {
        Report(shown, 0, kDuplicateOutput);
        return false;
      }
    }
    if (auto error = WriteFileAtomically(target, bytes)) {
      Report(shown, *error);
      return false;
    }
    return true;
  }

  const cli::Options& options_;
  const SizeItems& sizes_;
  Inputs inputs_;
  std::set<std::string> written_;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  cli::ParsedOptions parsed = cli::ParseOptions(args);
  if (!parsed.usageError.empty()) {
    std::cerr << kProgram << ": " << parsed.usageError << '\n'
              << kProgram << ": 詳しくは 'qd2vz --help' を参照してください\n";
    return 2;
  }
  const cli::Options& options = parsed.options;
  if (options.help) {
    PrintHelp();
    return 0;
  }
  if (options.version) {
    std::cout << "qd2vz (qdvz) " << QDVZ_VERSION << '\n';
    return 0;
  }
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif

  LoadedSizeFile sizeFile = LoadSizeFile(fs::path(options.sizeFile));
  if (sizeFile.error) {
    Report(options.sizeFile, *sizeFile.error);
    return 1;
  }
  SizeItems sizes;
  StoreSizeItems(sizeFile.items, sizes);
  if (sizeFile.items.size() > sizes.size()) {
    Report(options.sizeFile, 0, msg::kSizeItemsOverflow);
  }

  if (options.outputDirectory) {
    std::error_code error;
    fs::create_directories(fs::path(*options.outputDirectory), error);
    if (error || !fs::is_directory(fs::path(*options.outputDirectory))) {
      Report(*options.outputDirectory, 0, kCannotCreateDirectory);
      return 1;
    }
  }

  Converter converter(options, sizes);
  bool allConverted = true;
  for (const auto& input : options.inputs) allConverted = converter.Convert(input) && allConverted;
  return allConverted ? 0 : 1;
}
