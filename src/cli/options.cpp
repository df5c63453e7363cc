#include "cli/options.h"

#include "convert/text.h"

namespace qdvz::cli {

Result<Options> ParseOptions(const std::vector<std::string>& args) {
  Options o;
  auto fail = [](const std::string& message) {
    return Failure{FailureKind::kUsage, FromUtf8(message)};
  };
  bool onlyFiles = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!onlyFiles && *kPlatformHelpSwitch != '\0' && arg == kPlatformHelpSwitch) {
      o.help = true;
      continue;
    }
    if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
      o.inputs.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyFiles = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      o.help = true;
      continue;
    }
    if (arg == "-V" || arg == "--version") {
      o.version = true;
      continue;
    }
    // Options with a value: -s FILE, -sFILE, --sizes FILE, --sizes=FILE.
    struct ValueOption {
      const char* shortName;
      const char* longName;
    };
    static constexpr ValueOption kValueOptions[] = {
        {"-s", "--sizes"}, {"-o", "--output"}, {"-d", "--directory"}};
    const ValueOption* matched = nullptr;
    std::optional<std::string> value;
    for (const auto& option : kValueOptions) {
      std::string longName = option.longName;
      if (arg == option.shortName || arg == longName) {
        matched = &option;
      } else if (arg.rfind(option.shortName, 0) == 0 && arg.size() > 2 && arg[1] != '-') {
        matched = &option;
        value = arg.substr(2);
      } else if (arg.rfind(longName + "=", 0) == 0) {
        matched = &option;
        value = arg.substr(longName.size() + 1);
      }
      if (matched) break;
    }
    if (!matched) return fail("不明なオプションです: " + arg);
    std::string shown = arg.substr(0, arg.find('='));
    if (!value) {
      if (i + 1 >= args.size()) return fail("オプション " + arg + " には値が必要です");
      value = args[++i];
    }
    // An empty name would be taken for the current folder, or fail far from its cause.
    if (value->empty()) return fail("オプション " + shown + " の値が空です");
    std::string shortName = matched->shortName;
    if (shortName == "-s") {
      o.sizeFile = FileArg(*value);
    } else if (shortName == "-o") {
      o.outputFile.emplace(*value);
    } else {
      o.outputDirectory.emplace(*value);
    }
  }
  if (o.help || o.version) return o;
  if (o.sizeFile.name.empty()) return fail("文字サイズ設定ファイルを -s で指定してください");
  if (o.inputs.empty()) return fail("変換するＱＤのデータファイルを指定してください");
  if (o.outputFile && o.outputDirectory) return fail("-o と -d は同時に指定できません");
  // "-o -" is standard output, as in other tools.
  if (o.outputFile && o.outputFile->IsStandardStream()) o.outputFile.reset();
  if (o.outputFile && o.inputs.size() > 1) {
    return fail("-o は入力ファイルが一つのときだけ指定できます（複数なら -d を使ってください）");
  }
  for (const FileArg& input : o.inputs) {
    if (input.IsStandardStream() && o.outputDirectory)
      return fail("標準入力（-）は -d と一緒に使えません");
    // Standard input can be read once: either as the size file or as data.
    if (input.IsStandardStream() && o.sizeFile.IsStandardStream()) {
      return fail("標準入力（-）は -s と入力ファイルの両方には使えません");
    }
  }
  return o;
}

}  // namespace qdvz::cli
