// qd2vz's command line: every form of every option, and the usage errors in words.
#include "cli/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/text.h"

namespace qdvz::cli {
namespace {

// The options as one line, or the usage error.
std::string Described(const Result<Options>& options) {
  if (!options) return "error: " + ToUtf8(options.failure().message);
  std::string line = "sizes=" + options->sizeFile;
  if (options->outputFile) line += " output=" + *options->outputFile;
  if (options->outputDirectory) line += " directory=" + *options->outputDirectory;
  line += " inputs=";
  for (const std::string& input : options->inputs) line += "[" + input + "]";
  if (options->help) line += " help";
  if (options->version) line += " version";
  return line;
}

TEST(ParseOptions, EveryFormOfEveryOption) {
  struct Row {
    std::vector<std::string> args;
    std::string options;
  };
  const Row rows[] = {
      {{"-s", "a.qdc", "in.dat"}, "sizes=a.qdc inputs=[in.dat]"},
      {{"-sa.qdc", "in.dat"}, "sizes=a.qdc inputs=[in.dat]"},
      {{"--sizes", "a.qdc", "in.dat"}, "sizes=a.qdc inputs=[in.dat]"},
      {{"in.dat", "--sizes=a=b.qdc"}, "sizes=a=b.qdc inputs=[in.dat]"},
      {{"-s", "a", "in.dat", "-o", "x.txt"}, "sizes=a output=x.txt inputs=[in.dat]"},
      {{"-s", "a", "--output", "x.txt", "in.dat"}, "sizes=a output=x.txt inputs=[in.dat]"},
      {{"-s", "a", "--output=x.txt", "in.dat"}, "sizes=a output=x.txt inputs=[in.dat]"},
      {{"-s", "a", "-ox", "in.dat"}, "sizes=a output=x inputs=[in.dat]"},
      {{"-s", "a", "-o", "-", "in.dat"}, "sizes=a inputs=[in.dat]"},  // standard output
      {{"-s", "a", "-o-", "a.dat", "b.dat"}, "sizes=a inputs=[a.dat][b.dat]"},
      {{"-s", "a", "-d", "o", "a.dat", "b.dat"}, "sizes=a directory=o inputs=[a.dat][b.dat]"},
      {{"-s", "a", "--directory", "o", "a.dat"}, "sizes=a directory=o inputs=[a.dat]"},
      {{"-s", "a", "--directory=o", "a.dat"}, "sizes=a directory=o inputs=[a.dat]"},
      {{"-s", "a", "-do", "a.dat"}, "sizes=a directory=o inputs=[a.dat]"},
      {{"-s", "a", "-"}, "sizes=a inputs=[-]"},
      {{"-s", "a", "--", "-o", "--", "-x"}, "sizes=a inputs=[-o][--][-x]"},
      {{"-s", "a", ""}, "sizes=a inputs=[]"},
      {{"-h"}, "sizes= inputs= help"},
      {{"--help", "-s"}, "error: オプション -s には値が必要です"},
      {{"in.dat", "--version"}, "sizes= inputs=[in.dat] version"},
      {{"-V", "-s", "a"}, "sizes=a inputs= version"},
      {{}, "error: 文字サイズ設定ファイルを -s で指定してください"},
      {{"in.dat"}, "error: 文字サイズ設定ファイルを -s で指定してください"},
      {{"-s", "a"}, "error: 変換するＱＤのデータファイルを指定してください"},
      {{"-s", "a", "-x", "in.dat"}, "error: 不明なオプションです: -x"},
      {{"-s", "a", "-xyz", "in.dat"}, "error: 不明なオプションです: -xyz"},
      {{"-s", "a", "--out=x", "in.dat"}, "error: 不明なオプションです: --out=x"},
      {{"-s", "a", "in.dat", "--output"}, "error: オプション --output には値が必要です"},
      {{"-s", "a", "-o", "", "in.dat"}, "error: オプション -o の値が空です"},
      {{"--sizes=", "in.dat"}, "error: オプション --sizes の値が空です"},
      {{"-s", "a", "--directory=", "in.dat"}, "error: オプション --directory の値が空です"},
      {{"-s", "a", "-o", "x", "-d", "y", "a.dat"}, "error: -o と -d は同時に指定できません"},
      {{"-s", "a", "-o", "x", "a.dat", "b.dat"},
       "error: -o は入力ファイルが一つのときだけ指定できます（複数なら -d を使ってください）"},
      {{"-s", "a", "-d", "o", "a.dat", "-"}, "error: 標準入力（-）は -d と一緒に使えません"},
  };
  for (const Row& row : rows) {
    std::string args;
    for (const std::string& arg : row.args) args += "'" + arg + "' ";
    EXPECT_EQ(Described(ParseOptions(row.args)), row.options) << args;
  }
}

}  // namespace
}  // namespace qdvz::cli
