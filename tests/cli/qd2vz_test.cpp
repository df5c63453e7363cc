// qd2vz as a user runs it: the saved bytes of every worked example, names outside ASCII;
// in-process, failures of the system that no file can cause.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "cli/qd2vz_run.h"
#include "convert/text.h"
#include "cp932/cp932_runs.h"
#include "support/data.h"
#include "support/run_qd2vz.h"
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
  EXPECT_EQ(batch.err, test::WrittenText("qd2vz: 無い.dat: ファイルが見つかりません\n"));
  EXPECT_EQ(ReadBytes(dir / "出力/線記号.txt"),
            ReadBytes(test::DataPath("runs/example1.expected")));
}

#ifndef _WIN32
// qd2vz in-process, when the system fails where no file can make it fail: no converter at
// all (said once), an exception where none is expected (said, not ended with), also while a
// batch's workers still run.
TEST(RunQd2vz, FailuresOfTheSystem) {
  using test::Call;
  struct Row {
    test::Faults faults;
    const char* converter;
    std::string err;
    std::vector<std::string> output = {"-o", "out.txt"};
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
      {{{Call::kWrite, {test::kNoMemory}}}, "CP932", "メモリーが足りません", {"-d", "."}},
  };
  const fs::path before = fs::current_path();
  for (const Row& row : rows) {
    TempDir dir;
    fs::copy_file(test::DataPath("runs/example1.dat"), dir / "in.dat");
    fs::current_path(dir.path());
    std::vector<std::string> args = {"-s", kSizes.string()};
    args.insert(args.end(), row.output.begin(), row.output.end());
    // A batch: the workers are still preparing when the first output fails.
    for (int i = 0; i < (row.output[0] == "-d" ? 50 : 1); ++i) args.push_back("in.dat");
    detail::SetCp932ConverterName(row.converter);
    testing::internal::CaptureStderr();
    int status = [&] {
      test::InjectedFaults faults(row.faults);
      return cli::RunQd2vz(args);
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
  EXPECT_EQ(result.err, test::WrittenText("qd2vz: 引数 5 に UTF-16 として不正な文字があります\n"));
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"in.dat"}));
}

// cmd.exe hands * and ? over as typed: qd2vz expands them, quoted or not, with or without a
// folder part, by long names only (x.data is X~1.DAT for Windows' own matching); a pattern
// that matches nothing is named and the batch goes on. Names that Windows refuses are named
// in words; a device name is written in place, or named as a device when that fails. An
// existing output is replaced by a relative name as well.
TEST(Qd2vz, NamesAsCmdExeHandsThemOver) {
  TempDir dir;
  fs::copy_file(test::DataPath("runs/example1.dat"), dir / "a.dat");
  fs::copy_file(test::DataPath("runs/example2.dat"), dir / "b.dat");
  test::WriteBytes(dir / "x.data", "no QD data");
  fs::create_directory(dir / "sub");
  fs::copy_file(test::DataPath("runs/example1.dat"), dir / "sub" / "c.dat");
  const std::string kDevice =
      "デバイスに書き込めません（CON・PRN・AUX・NUL・COM1～COM9・LPT1～LPT9 は、"
      "拡張子を付けてもデバイスの名前です）\n";
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
      {"-o out1\\a.txt a.dat", 0, {"out1\\a.txt"}, ""},
      {"-o " + std::string(300, 'x') + ".txt a.dat",
       1,
       {},
       "qd2vz: " + std::string(300, 'x') + ".txt: ファイル名かパスが長すぎます\n"},
      {std::string(300, 'y') + ".dat",
       1,
       {},
       "qd2vz: " + std::string(300, 'y') + ".dat: ファイル名かパスが長すぎます\n"},
      {"-o nul.txt a.dat", 0, {}, ""},
      {"-o con.txt a.dat", 1, {}, "qd2vz: con.txt: " + kDevice},
      {"-o LPT1.txt a.dat", 1, {}, "qd2vz: LPT1.txt: " + kDevice},
      {"-o prn.dat a.dat", 1, {}, "qd2vz: prn.dat: " + kDevice},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args);
    test::Qd2vzResult result = RunQd2vz(dir, "-s " + Quoted(kSizes) + " " + row.args, true);
    EXPECT_EQ(result.status, row.status);
    EXPECT_EQ(result.err, test::WrittenText(row.err));
    for (const std::string& name : row.written) EXPECT_TRUE(fs::exists(dir / name)) << name;
  }
}

// Text reaches a file or pipe as Windows programs write it: in the ANSI code page (932 here)
// with CR LF, the help with Windows paths and /? as its switch; the macro on standard output is
// data and keeps its bytes.
TEST(Qd2vz, WritesTextAsWindowsProgramsDo) {
  TempDir dir;
  fs::copy_file(test::DataPath("runs/example1.dat"), dir / "in.dat");
  const std::string help = test::WrittenText(ReadBytes(test::DataPath("qd2vz_help_windows.txt")));
  struct Row {
    std::string args;
    int status;
    std::string out, err;
  };
  const Row rows[] = {
      {"--help", 0, help, ""},
      {"/?", 0, help, ""},
      {"-V", 0, test::WrittenText("qd2vz (qdvz) " QDVZ_VERSION "\n"), ""},
      {"-s " + Quoted(kSizes) + " in.dat", 0, ReadBytes(test::DataPath("runs/example1.expected")),
       ""},
      {"-s " + Quoted(kSizes) + " 無い.dat", 1, "",
       test::WrittenText("qd2vz: 無い.dat: ファイルが見つかりません\n")},
      {"-x", 2, "",
       test::WrittenText("qd2vz: 不明なオプションです: -x\n"
                         "qd2vz: 詳しくは 'qd2vz --help' を参照してください\n")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args);
    const test::Qd2vzResult result = RunQd2vz(dir, row.args);
    EXPECT_EQ(result.status, row.status);
    EXPECT_EQ(result.out, row.out);
    EXPECT_EQ(result.err, row.err);
  }
}

// In a console the help is shown through the wide-character interface: the Japanese arrives
// whole, whatever the console's code page (the test opens a console of its own and reads
// back what it shows).
TEST(Qd2vz, ShowsTextInAConsoleAsIs) {
  FreeConsole();
  ASSERT_TRUE(AllocConsole()) << "no console: error " << GetLastError();
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE screen =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inherit, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(screen, INVALID_HANDLE_VALUE);
  constexpr SHORT kWidth = 200;  // no line of the help wraps
  SetConsoleScreenBufferSize(screen, COORD{kWidth, 100});
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = screen;
  std::wstring line = L"\"" + fs::absolute(QD2VZ).wstring() + L"\" --help";
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                             &startup, &process));
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::wstring shown;
  for (SHORT row = 0; row < 20; ++row) {
    std::wstring text(kWidth, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, text.data(), kWidth, COORD{0, row}, &read);
    text.resize(text.find_last_not_of(L' ') + 1);
    shown += text + L"\n";
  }
  CloseHandle(screen);
  FreeConsole();
  EXPECT_EQ(status, 0u);
  const std::u16string help = FromUtf8(ReadBytes(test::DataPath("qd2vz_help_windows.txt")));
  EXPECT_EQ(std::u16string(shown.begin(), shown.end()).substr(0, help.size()), help);
}
#endif

}  // namespace
}  // namespace qdvz
