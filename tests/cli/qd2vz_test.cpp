// qd2vz as a user runs it: the saved bytes of every worked example, exit statuses, messages,
// and that no input or earlier output is ever damaged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/run_qd2vz.h"
#include "convert/text.h"
#include "io/cp932.h"
#include "support/temp_dir.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Absolute, so that they hold in the folder where qd2vz runs; under wine a path from the
// root would otherwise be taken on the drive of that folder.
const fs::path kRuns = fs::absolute(fs::path(QDVZ_TEST_DATA) / "runs");
const fs::path kSizes = kRuns / "sizes.qdc";

#ifdef _WIN32
#define SEP "\\"
#else
#define SEP "/"
#endif

using Result = test::Qd2vzResult;
using test::Quoted;
using test::RunQd2vz;
#ifdef _WIN32
using test::QuotedArgument;
using test::RunQd2vzWide;
#endif

TEST(Qd2vz, EveryWorkedRunGivesItsSavedBytes) {
  TempDir dir;
  int runs = 0;
  for (const auto& entry : fs::directory_iterator(kRuns)) {
    if (entry.path().extension() != ".dat") continue;
    ++runs;
    fs::path expected = fs::path(entry.path()).replace_extension(".expected");
    SCOPED_TRACE(entry.path().filename().string());
    Result toFile =
        RunQd2vz(dir, "-s " + Quoted(kSizes) + " " + Quoted(entry.path()) + " -o out.txt");
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(ReadBytes(dir / "out.txt"), ReadBytes(expected));
    Result toStdout = RunQd2vz(dir, "-s " + Quoted(kSizes) + " -", Quoted(entry.path()));
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, ReadBytes(expected));
  }
  EXPECT_GE(runs, 8);
}

// Each row of the statement table through the command line, as the only element of a block.
TEST(Qd2vz, StatementTableThroughTheCommandLine) {
  TempDir dir;
  std::istringstream table(ReadBytes(fs::path(QDVZ_TEST_DATA) / "statements.tsv"));
  std::string line;
  int rows = 0;
  while (std::getline(table, line)) {
    if (line.empty() || line[0] == '%') continue;
    size_t tab = line.find('\t');
    std::string record = line.substr(0, tab), statement = line.substr(tab + 1);
    SCOPED_TRACE(record);
    auto toCp932 = [](const std::string& utf8) {
      return *EncodeCp932(std::u16string(FromUtf8(utf8)));
    };
    WriteBytes(dir / "in.dat", toCp932("999\r\n1 T\r\n" + record + "\r\n"));
    Result result = RunQd2vz(dir, "-s " + Quoted(kSizes) + " in.dat");
    ASSERT_EQ(result.status, 0) << result.err;
    // The statement follows the head, the begin line and its two reserved slots.
    std::string text = ToUtf8(*DecodeCp932(result.out));
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), statement == "-" ? 8u : 9u);
    if (statement != "-") {
      EXPECT_EQ(lines[6], statement);
    }
    ++rows;
  }
  EXPECT_GT(rows, 90);
}

TEST(Qd2vz, DirectoryModeWritesStemDotTxtAndCreatesTheDirectory) {
  TempDir dir;
  fs::copy_file(kRuns / "example1.dat", dir / "a.dat");
  fs::copy_file(kRuns / "example2.dat", dir / "b.DAT");
  Result result = RunQd2vz(dir, "-s " + Quoted(kSizes) + " -d out/new a.dat b.DAT");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(dir / "out/new/a.txt"), ReadBytes(kRuns / "example1.expected"));
  EXPECT_EQ(ReadBytes(dir / "out/new/b.txt"), ReadBytes(kRuns / "example2.expected"));
}

// Names outside ASCII reach the file system unchanged and are named in messages as UTF-8.
TEST(Qd2vz, JapaneseFileNames) {
  TempDir dir;
  fs::copy_file(kRuns / "example1.dat", dir / "線記号.dat");
  fs::copy_file(kSizes, dir / "文字サイズ.qdc");
  Result single = RunQd2vz(dir, "-s 文字サイズ.qdc 線記号.dat -o 変換結果.txt");
  EXPECT_EQ(single.status, 0) << single.err;
  EXPECT_EQ(ReadBytes(dir / "変換結果.txt"), ReadBytes(kRuns / "example1.expected"));
  Result batch = RunQd2vz(dir, "-s 文字サイズ.qdc -d 出力 線記号.dat 無い.dat");
  EXPECT_EQ(batch.status, 1);
  EXPECT_EQ(batch.err, "qd2vz: 無い.dat: ファイルが見つかりません\n");
  EXPECT_EQ(ReadBytes(dir / "出力/線記号.txt"), ReadBytes(kRuns / "example1.expected"));
}

#ifdef _WIN32
// A Windows name may hold a lone surrogate, which UTF-8 cannot carry; qd2vz refuses it
// rather than read or write a file of another name.
TEST(Qd2vz, RefusesAnArgumentWithALoneSurrogate) {
  TempDir dir;
  fs::copy_file(kRuns / "example1.dat", dir / "in.dat");
  Result result = RunQd2vzWide(
      dir, L" -s " + QuotedArgument(kSizes.wstring()) + L" in.dat -o \"x\xD800.txt\"", "");
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "qd2vz: 引数 5 に UTF-16 として不正な文字があります\n");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"in.dat"}));
}

// cmd.exe hands * and ? over as typed: qd2vz expands them, quoted or not, with or without a
// folder part; a pattern that matches nothing is named and the batch goes on. Names that
// Windows refuses are named in words.
TEST(Qd2vz, NamesAsCmdExeHandsThemOver) {
  TempDir dir;
  fs::copy_file(kRuns / "example1.dat", dir / "a.dat");
  fs::copy_file(kRuns / "example2.dat", dir / "b.dat");
  fs::create_directory(dir / "sub");
  fs::copy_file(kRuns / "example1.dat", dir / "sub" / "c.dat");
  const std::string sizes = "-s \"" + test::Utf8Name(kSizes) + "\"";
  struct Row {
    std::string args;
    int status;
    std::string err;
    std::vector<std::string> written;
  };
  const Row rows[] = {
      {"-d out1 *.dat", 0, "", {"out1\\a.txt", "out1\\b.txt"}},
      {"-d out2 \"?.dat\" sub\\*.dat", 0, "", {"out2\\a.txt", "out2\\b.txt", "out2\\c.txt"}},
      {"-d out3 none*.dat a.dat",
       1,
       "qd2vz: none*.dat: このパターンに一致するファイルがありません\n",
       {"out3\\a.txt"}},
      {"\"a<b.dat\"",
       1,
       "qd2vz: a<b.dat: ファイル名が正しくありません（使えない文字が含まれています）\n",
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args);
    Result result = RunQd2vzInCmd(dir, sizes + " " + row.args);
    EXPECT_EQ(result.status, row.status);
    EXPECT_EQ(result.err, row.err);
    for (const std::string& name : row.written) EXPECT_TRUE(fs::exists(dir / name)) << name;
  }
}
#endif

TEST(Qd2vz, BatchGoesOnAfterABadFileAndReportsIt) {
  TempDir dir;
  fs::copy_file(kRuns / "example1.dat", dir / "good.dat");
  WriteBytes(dir / "bad.dat", "1 A\r\n99 0\r\n");
  WriteBytes(dir / "bad.txt", "old output");
  Result result = RunQd2vz(dir, "-s " + Quoted(kSizes) + " -d . bad.dat missing.dat good.dat");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "qd2vz: bad.dat: ＱＤのデータではありません\n"
            "qd2vz: missing.dat: ファイルが見つかりません\n");
  EXPECT_EQ(ReadBytes(dir / "bad.txt"), "old output");
  EXPECT_EQ(ReadBytes(dir / "good.txt"), ReadBytes(kRuns / "example1.expected"));
}

TEST(Qd2vz, RefusalsNameTheLine) {
  TempDir dir;
  WriteBytes(dir / "big.dat", "999\r\n1 A\r\n500 40000 1\r\n");
  WriteBytes(dir / "bad.dat", "999\r\n1 A\r\n\x82\r\n");
  Result result = RunQd2vz(dir, "-s " + Quoted(kSizes) + " big.dat bad.dat");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "qd2vz: big.dat:3: 数値が整数の範囲（-32768～32767）を越えています\n"
            "qd2vz: bad.dat:3: Shift-JIS（コードページ932）として読めない文字があります\n");
  EXPECT_EQ(result.out, "");
}

TEST(Qd2vz, NeverOverwritesAnInput) {
  TempDir dir;
  fs::copy_file(kRuns / "example1.dat", dir / "x.txt");
  std::string before = ReadBytes(dir / "x.txt");
  Result result = RunQd2vz(dir, "-s " + Quoted(kSizes) + " -d . x.txt");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "qd2vz: ." SEP "x.txt: 入力ファイルは上書きしません\n");
  Result single = RunQd2vz(dir, "-s " + Quoted(kSizes) + " x.txt -o x.txt");
  EXPECT_EQ(single.status, 1);
  EXPECT_EQ(ReadBytes(dir / "x.txt"), before);
}

TEST(Qd2vz, LongFileIsConvertedFromItsFirst1199LinesWithAWarning) {
  TempDir dir;
  std::string data = "999\r\n1 A\r\n";
  for (int i = 0; i < 1197; ++i) data += "7 5 1 2 3 4\r\n";
  WriteBytes(dir / "exact.dat", data);
  Result exact = RunQd2vz(dir, "-s " + Quoted(kSizes) + " exact.dat");
  EXPECT_EQ(exact.status, 0);
  EXPECT_EQ(exact.err, "");
  WriteBytes(dir / "long.dat", data + "02 20 9 9 9 9\r\n7 5 1 2 3 4\r\n");
  Result longer = RunQd2vz(dir, "-s " + Quoted(kSizes) + " long.dat");
  EXPECT_EQ(longer.status, 0);
  EXPECT_EQ(longer.err, "qd2vz: long.dat:1200: データ行が制限を越えました\n");
  EXPECT_EQ(longer.out, exact.out);
}

TEST(Qd2vz, UsageErrorsExitTwoWithAHint) {
  TempDir dir;
  for (const char* args :
       {"", "in.dat", "-s a.qdc", "-s a.qdc -x in.dat", "-s a.qdc -o",
        "-s a.qdc a.dat b.dat -o c.txt", "-s a.qdc -d out -", "-s a.qdc -o x -d y a.dat"}) {
    Result result = RunQd2vz(dir, args);
    EXPECT_EQ(result.status, 2) << args;
    EXPECT_NE(result.err.find("qd2vz --help"), std::string::npos) << args;
  }
  Result help = RunQd2vz(dir, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("-s, --sizes=FILE"), std::string::npos);
  Result version = RunQd2vz(dir, "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("qd2vz ", 0), 0u);
}

}  // namespace
}  // namespace qdvz
