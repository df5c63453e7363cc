// What a user owns is never overwritten or lost, whatever the command line points at: inputs
// under every name (the size file, the file behind standard input), redirected streams,
// links, and names that the system refuses. Each row is one shell command run in a fresh
// folder holding s.qdc (the sizes), in.dat (the data) and the folder o/.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/qd2vz_run.h"
#include "io/cp932_runs.h"
#include "support/temp_dir.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const fs::path kRuns = fs::path(QDVZ_TEST_DATA) / "runs";

struct Row {
  const char* name;
  std::string command;  // $Q is qd2vz
  int status;
  std::string err;
  // Files and what they must hold afterwards: "=" for unchanged, "macro" for the macro of
  // in.dat, "link" for a symbolic link still in place; anything else is the bytes themselves.
  std::map<std::string, std::string> files;
};

const std::string kLongStem(252, 'x');  // with ".d" a name that fits, with ".txt" one that does not

TEST(OwnFiles, NothingAUserOwnsIsLost) {
  const std::string macro = ReadBytes(kRuns / "example1.expected");
  const std::string usageHint = "qd2vz: 詳しくは 'qd2vz --help' を参照してください\n";
  const Row rows[] = {
      {"the size file as the output",
       "$Q -s s.qdc in.dat -o s.qdc",
       1,
       "qd2vz: s.qdc: 入力ファイルは上書きしません\n",
       {{"s.qdc", "="}, {"in.dat", "="}}},
      {"the size file as an output of -d",
       "cp s.qdc o/in.txt && $Q -s o/in.txt -d o in.dat",
       1,
       "qd2vz: o/in.txt: 入力ファイルは上書きしません\n",
       {{"o/in.txt", "="}}},
      {"the file behind standard input",
       "$Q -s s.qdc - -o in.dat < in.dat",
       1,
       "qd2vz: in.dat: 入力ファイルは上書きしません\n",
       {{"in.dat", "="}}},
      {"standard output redirected to a log",
       "(echo before; $Q -s s.qdc in.dat -o /dev/stdout; echo after) > log.txt",
       0,
       "",
       {{"log.txt", "before\n" + macro + "after\n"}}},
      {"standard output appending to a log",
       "echo first > log.txt; $Q -s s.qdc in.dat -o /dev/fd/1 >> log.txt",
       0,
       "",
       {{"log.txt", "first\n" + macro}}},
      {"standard error redirected to a log",
       "(echo before >&2; $Q -s s.qdc in.dat -o /dev/stderr; echo after >&2) 2> log.txt",
       0,
       "",
       {{"log.txt", "before\n" + macro + "after\n"}}},
      {"-o - is standard output",
       "$Q -s s.qdc in.dat -o - > log.txt && test ! -e ./-",
       0,
       "",
       {{"log.txt", macro}}},
      {"a link that leads nowhere yet",
       "ln -s o/made.txt link.txt && $Q -s s.qdc in.dat -o link.txt",
       0,
       "",
       {{"link.txt", "link"}, {"o/made.txt", macro}}},
      {"an empty output name",
       "$Q -s s.qdc in.dat -o ''",
       2,
       "qd2vz: オプション -o の値が空です\n" + usageHint,
       {}},
      {"an empty folder name",
       "$Q -s s.qdc -d '' in.dat",
       2,
       "qd2vz: オプション -d の値が空です\n" + usageHint,
       {}},
      {"an empty long option",
       "$Q --sizes= in.dat",
       2,
       "qd2vz: オプション --sizes の値が空です\n" + usageHint,
       {}},
      {"a link to itself",
       "ln -s loop loop && $Q -s s.qdc loop",
       1,
       "qd2vz: loop: シンボリックリンクが循環しているか、たどるリンクが多すぎます\n",
       {}},
      {"an output name too long",
       "cp in.dat " + kLongStem + ".d && $Q -s s.qdc -d o " + kLongStem + ".d",
       1,
       "qd2vz: o/" + kLongStem + ".txt: ファイル名かパスが長すぎます\n",
       {}},
      {"a folder as standard input",
       "$Q -s s.qdc - < o",
       1,
       "qd2vz: -: フォルダーです。ファイルを選択してください\n",
       {}},
      {"standard input that never ends",
       "$Q -s s.qdc - < /dev/zero",
       1,
       "qd2vz: -: ファイルが大きすぎます（256MiBを越えています）\n",
       {}},
      {"help to a full device",
       "$Q --help > /dev/full",
       1,
       "qd2vz: 標準出力に書き込めません\n",
       {}},
      {"version to a full device",
       "$Q --version > /dev/full",
       1,
       "qd2vz: 標準出力に書き込めません\n",
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    fs::copy_file(kRuns / "sizes.qdc", dir / "s.qdc");
    fs::copy_file(kRuns / "example1.dat", dir / "in.dat");
    fs::create_directory(dir / "o");
    TempDir streams;
    WriteBytes(streams / "row.sh",
               "cd '" + dir.path().string() + "'\nQ='" QD2VZ "'\n" + row.command + "\n");
    std::string command =
        "sh '" + (streams / "row.sh").string() + "' 2>'" + (streams / "err.txt").string() + "'";
    int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), row.status);
    EXPECT_EQ(ReadBytes(streams / "err.txt"), row.err);
    for (const auto& [name, expected] : row.files) {
      fs::path path = dir / name;
      if (expected == "=") {
        EXPECT_EQ(ReadBytes(path),
                  ReadBytes(name == "in.dat" ? kRuns / "example1.dat" : kRuns / "sizes.qdc"))
            << name;
      } else if (expected == "link") {
        EXPECT_TRUE(fs::is_symlink(path)) << name;
      } else {
        EXPECT_EQ(ReadBytes(path), expected == "macro" ? macro : expected) << name;
      }
    }
    // Nothing was left behind: no temporary file, no file named after an option.
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
      std::string name = entry.path().filename().string();
      EXPECT_NE(name[0], '.') << name;
      EXPECT_NE(name, "-");
    }
  }
}

// Where the system has no code page 932 converter, qd2vz says so once and converts nothing.
TEST(OwnFiles, WithoutTheConverterQd2vzSaysSoOnce) {
  TempDir dir;
  fs::copy_file(kRuns / "example1.dat", dir / "in.dat");
  detail::SetCp932ConverterName("NO-SUCH-CODE-PAGE");
  testing::internal::CaptureStderr();
  int status = cli::RunQd2vz({"-s", (kRuns / "sizes.qdc").string(), "-d", (dir / "o").string(),
                              (dir / "in.dat").string(), (dir / "in.dat").string()});
  std::string err = testing::internal::GetCapturedStderr();
  detail::SetCp932ConverterName("CP932");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err,
            "qd2vz: このシステムにはShift-JIS（コードページ932）の変換機能がありません（iconv の "
            "CP932）\n");
  EXPECT_FALSE(fs::exists(dir / "o"));
}

}  // namespace
}  // namespace qdvz
