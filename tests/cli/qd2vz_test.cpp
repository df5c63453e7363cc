// qd2vz as a user runs it: the saved bytes of every worked example, names outside ASCII;
// in-process, failures of the system that no file can cause.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "cli/qd2vz_run.h"
#include "cli/run_qd2vz.h"
#include "cp932/cp932_runs.h"
#include "support/data.h"
#include "support/temp_dir.h"
#ifndef _WIN32
#include "support/io_cli_faults.h"
#endif

namespace qdvz {
namespace {

namespace fs = std::filesystem;
using test::Quoted;
using test::ReadBytes;
using test::RunQd2vz;
using test::TempDir;

const fs::path kSizes = test::DataPath("runs/sizes.qdc");

// Every file of tests/data/runs in one batch: each gives exactly its saved bytes.
TEST(Qd2vz, WorkedExamplesGiveTheirSavedBytes) {
  TempDir dir;
  std::string inputs;
  std::vector<fs::path> examples;
  for (const auto& entry : fs::directory_iterator(test::DataPath("runs"))) {
    if (entry.path().extension() != ".dat") continue;
    examples.push_back(entry.path());
    inputs += " " + Quoted(entry.path());
  }
  ASSERT_GE(examples.size(), 8u);
  test::Qd2vzResult result = RunQd2vz(dir, "-s " + Quoted(kSizes) + " -d out/new" + inputs);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  for (const fs::path& example : examples) {
    fs::path expected = fs::path(example).replace_extension(".expected");
    EXPECT_TRUE(ReadBytes(dir / "out/new" / (example.stem().string() + ".txt")) ==
                ReadBytes(expected))
        << example.filename() << " differs from " << expected.filename();
  }
}

// Names outside ASCII reach the file system unchanged and are named in messages as UTF-8.
TEST(Qd2vz, JapaneseFileNames) {
  TempDir dir;
  fs::copy_file(test::DataPath("runs/example1.dat"), dir / "線記号.dat");
  fs::copy_file(kSizes, dir / "文字サイズ.qdc");
  test::Qd2vzResult batch = RunQd2vz(dir, "-s 文字サイズ.qdc -d 出力 線記号.dat 無い.dat");
  EXPECT_EQ(batch.status, 1);
  EXPECT_EQ(batch.err, "qd2vz: 無い.dat: ファイルが見つかりません\n");
  EXPECT_EQ(ReadBytes(dir / "出力/線記号.txt"),
            ReadBytes(test::DataPath("runs/example1.expected")));
}

#ifndef _WIN32
// qd2vz in-process, when the system fails where no file can make it fail: no converter at
// all (said once), an exception where none is expected (said, not ended with).
TEST(RunQd2vz, FailuresOfTheSystem) {
  using test::Call;
  struct Row {
    test::Faults faults;
    const char* converter;
    std::string err;
  };
  const Row rows[] = {
      {{},
       "NO-SUCH-CODE-PAGE",
       "このシステムにはShift-JIS（コードページ932）の変換機能がありません（iconv の CP932）"},
      {{{Call::kRead, {test::kThrow}}}, "CP932", "予期しないエラーが起きました（boom）"},
      {{{Call::kRead, {test::kPass, test::kThrow}}},
       "CP932",
       "in.dat: 予期しないエラーが起きました（boom）"},
      {{{Call::kRead, {test::kPass, test::kNoMemory}}}, "CP932", "in.dat: メモリーが足りません"},
  };
  const fs::path before = fs::current_path();
  for (const Row& row : rows) {
    TempDir dir;
    fs::copy_file(test::DataPath("runs/example1.dat"), dir / "in.dat");
    fs::current_path(dir.path());
    detail::SetCp932ConverterName(row.converter);
    testing::internal::CaptureStderr();
    int status = [&] {
      test::InjectedFaults faults(row.faults);
      return cli::RunQd2vz({"-s", kSizes.string(), "-o", "out.txt", "in.dat"});
    }();
    std::string err = testing::internal::GetCapturedStderr();
    detail::SetCp932ConverterName("CP932");
    fs::current_path(before);
    EXPECT_EQ(status, 1) << row.err;
    EXPECT_EQ(err, "qd2vz: " + row.err + "\n");
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"in.dat"})) << row.err;
  }
}
#else
// A Windows name may hold a lone surrogate, which UTF-8 cannot carry; qd2vz refuses it
// rather than read or write a file of another name.
TEST(Qd2vz, RefusesAnArgumentWithALoneSurrogate) {
  TempDir dir;
  fs::copy_file(test::DataPath("runs/example1.dat"), dir / "in.dat");
  test::Qd2vzResult result =
      test::RunCommandLine(dir, L"\"" + fs::absolute(QD2VZ).wstring() + L"\" -s \"" +
                                    kSizes.wstring() + L"\" in.dat -o \"x\xD800.txt\"");
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "qd2vz: 引数 5 に UTF-16 として不正な文字があります\n");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"in.dat"}));
}

// cmd.exe hands * and ? over as typed: qd2vz expands them, quoted or not, with or without a
// folder part; a pattern that matches nothing is named and the batch goes on. Names that
// Windows refuses are named in words.
TEST(Qd2vz, NamesAsCmdExeHandsThemOver) {
  TempDir dir;
  fs::copy_file(test::DataPath("runs/example1.dat"), dir / "a.dat");
  fs::copy_file(test::DataPath("runs/example2.dat"), dir / "b.dat");
  fs::create_directory(dir / "sub");
  fs::copy_file(test::DataPath("runs/example1.dat"), dir / "sub" / "c.dat");
  struct Row {
    std::string args;
    int status;
    std::vector<std::string> written;
    std::string err;
  };
  const Row rows[] = {
      {"-d out1 *.dat", 0, {"out1\\a.txt", "out1\\b.txt"}, ""},
      {"-d out2 \"?.dat\" sub\\*.dat", 0, {"out2\\a.txt", "out2\\b.txt", "out2\\c.txt"}, ""},
      {"-d out3 none*.dat a.dat",
       1,
       {"out3\\a.txt"},
       "qd2vz: none*.dat: このパターンに一致するファイルがありません\n"},
      {"\"a<b.dat\"",
       1,
       {},
       "qd2vz: a<b.dat: ファイル名が正しくありません（使えない文字が含まれています）\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args);
    test::Qd2vzResult result = RunQd2vz(dir, "-s " + Quoted(kSizes) + " " + row.args, true);
    EXPECT_EQ(result.status, row.status);
    EXPECT_EQ(result.err, row.err);
    for (const std::string& name : row.written) EXPECT_TRUE(fs::exists(dir / name)) << name;
  }
}
#endif

}  // namespace
}  // namespace qdvz
