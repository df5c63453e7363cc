// qd2vz: converts QD line-symbol deformation data into the VZ line-deformation macro, writing
// the same bytes that the window saves for the same data and character-size file.
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <system_error>
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
#include <windows.h>
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

// Arguments and messages are UTF-8 text. On POSIX a path is the argument's bytes as they
// are; on Windows it is built from the UTF-8 text, which a plain std::string would not give.
fs::path ArgPath(const std::string& arg) {
#ifdef _WIN32
  return fs::path(std::u8string(arg.begin(), arg.end()));
#else
  return fs::path(arg);
#endif
}

std::string Shown(const fs::path& path) {
#ifdef _WIN32
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

// Writes UTF-8 text to standard error. A Windows console shows it through the wide-character
// interface, whatever its code page; a file or pipe receives the UTF-8 bytes, as on POSIX.
void WriteError(const std::string& text) {
#ifdef _WIN32
  HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (console != INVALID_HANDLE_VALUE && GetConsoleMode(console, &mode)) {
    std::u16string wide = FromUtf8(text);
    DWORD written = 0;
    WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
#endif
  std::cerr << text << std::flush;
}

void Report(const std::string& file, int line, std::u16string_view message) {
  std::string where = file.empty() ? "" : file + ":";
  if (line > 0) where += std::to_string(line) + ":";
  WriteError(std::string(kProgram) + ": " + where + (where.empty() ? "" : " ") + ToUtf8(message) +
             "\n");
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

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error);
}

class Converter {
 public:
  Converter(const cli::Options& options, const SizeItems& sizes)
      : options_(options), sizes_(sizes) {}

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
      loaded = LoadSourceLines(ArgPath(input));
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
    for (const auto& other : options_.inputs) {
      if (other != "-" && SameFile(target, ArgPath(other))) {
        Report(shown, 0, kWouldOverwriteInput);
        return false;
      }
    }
    if (options_.outputDirectory) {
      // Names that differ only in case are one file on Windows: ask the file system too.
      bool duplicate = !written_.insert(Shown(fs::weakly_canonical(target))).second;
      for (const auto& earlier : writtenPaths_) duplicate = duplicate || SameFile(target, earlier);
      if (duplicate) {
        Report(shown, 0, kDuplicateOutput);
        return false;
      }
      writtenPaths_.push_back(target);
    }
    if (auto error = WriteFileAtomically(target, bytes)) {
      Report(shown, *error);
      return false;
    }
    return true;
  }

  const cli::Options& options_;
  const SizeItems& sizes_;
  std::set<std::string> written_;
  std::vector<fs::path> writtenPaths_;
};

int Run(const std::vector<std::string>& args) {
  cli::ParsedOptions parsed = cli::ParseOptions(args);
  if (!parsed.usageError.empty()) {
    WriteError(std::string(kProgram) + ": " + parsed.usageError + "\n" + kProgram +
               ": 詳しくは 'qd2vz --help' を参照してください\n");
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

  LoadedSizeFile sizeFile = LoadSizeFile(ArgPath(options.sizeFile));
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
    fs::create_directories(ArgPath(*options.outputDirectory), error);
    if (error || !fs::is_directory(ArgPath(*options.outputDirectory))) {
      Report(*options.outputDirectory, 0, kCannotCreateDirectory);
      return 1;
    }
  }

  Converter converter(options, sizes);
  bool allConverted = true;
  for (const auto& input : options.inputs) allConverted = converter.Convert(input) && allConverted;
  return allConverted ? 0 : 1;
}

}  // namespace

#ifdef _WIN32
// The wide-character entry point receives every file name as the user typed it, Japanese
// included, whatever the ANSI code page.
int wmain(int argc, wchar_t** argv) {
  // Messages reach a file or pipe as UTF-8 bytes with LF line ends, as on POSIX.
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::u16string arg(argv[i], argv[i] + std::wcslen(argv[i]));
    // A lone surrogate has no UTF-8 form; any stand-in would name another file.
    for (size_t k = 0; k < arg.size(); ++k) {
      bool high = arg[k] >= 0xD800 && arg[k] < 0xDC00;
      bool low = arg[k] >= 0xDC00 && arg[k] < 0xE000;
      if (high && k + 1 < arg.size() && arg[k + 1] >= 0xDC00 && arg[k + 1] < 0xE000) {
        ++k;
      } else if (high || low) {
        WriteError(std::string(kProgram) + ": 引数 " + std::to_string(i) +
                   " に UTF-16 として不正な文字があります\n");
        return 2;
      }
    }
    args.push_back(ToUtf8(arg));
  }
  int status = Run(args);
  return status;  // wine needs wmain to return explicitly
}
#else
int main(int argc, char** argv) {
  return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
