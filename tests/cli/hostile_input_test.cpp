// qd2vz against broken and hostile input: every refusal gives its exact message and exit
// status, and leaves every input and earlier output as it was, with no temporary file behind.
// The small inputs live in tests/data/hostile; the large ones are made here.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/run_qd2vz.h"
#include "support/temp_dir.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;
using test::Quoted;
using test::ReadBytes;
using test::RunQd2vz;
using test::TempDir;
using test::WriteBytes;

const fs::path kHostile = fs::path(QDVZ_TEST_DATA) / "hostile";
const fs::path kRuns = fs::path(QDVZ_TEST_DATA) / "runs";

constexpr char kEarlierOutput[] = "earlier output\r\n";

// Every entry below dir with its bytes; devices, pipes and folders by their kind only.
using Snapshot = std::map<std::string, std::string>;
Snapshot Take(const TempDir& dir) {
  Snapshot snapshot;
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    std::string name = fs::relative(entry.path(), dir.path()).string();
    struct stat info {};
    lstat(entry.path().c_str(), &info);
    if (S_ISREG(info.st_mode)) {
      snapshot[name] = ReadBytes(entry.path());
    } else if (S_ISCHR(info.st_mode)) {
      snapshot[name] = "<character device>";
    } else if (S_ISDIR(info.st_mode)) {
      snapshot[name] = "<folder>";
    } else {
      snapshot[name] = "<other>";
    }
  }
  return snapshot;
}

// A folder holding the character sizes, the input under its own name and an earlier output.
struct Workspace {
  TempDir dir;
  explicit Workspace(const fs::path& input = {}, const fs::path& sizes = kRuns / "sizes.qdc") {
    fs::copy_file(sizes, dir / "sizes.qdc");
    if (!input.empty()) fs::copy_file(input, dir / input.filename().string());
    WriteBytes(dir / "out.txt", kEarlierOutput);
  }
};

std::string Repeat(std::string_view piece, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

// Inputs that are refused: "qd2vz: FILE[:LINE]: message", exit 1, nothing changed.
TEST(HostileInput, RefusedInputsChangeNothing) {
  struct Case {
    const char* file;
    const char* where;  // ":LINE" or nothing
    const char* message;
  };
  const char* notCp932 = "Shift-JIS（コードページ932）として読めない文字があります";
  const char* integer = "数値が整数の範囲（-32768～32767）を越えています";
  const char* sizeNumber = "文字サイズ番号が1～41の範囲にありません";
  const Case cases[] = {
      {"empty.dat", "", "ＱＤのデータではありません"},
      {"binary.dat", ":1", "テキストファイルではありません（NUL文字があります）"},
      {"nul_in_record.dat", ":3", "テキストファイルではありません（NUL文字があります）"},
      {"utf8_bom.dat", ":1",
       "UTF-8のファイルです。Shift-JIS（コードページ932）のファイルを選択してください"},
      {"utf16_bom.dat", ":1",
       "UTF-16のファイルです。Shift-JIS（コードページ932）のファイルを選択してください"},
      {"lead_byte_at_line_end.dat", ":3", notCp932},
      {"lead_byte_at_file_end.dat", ":5", notCp932},
      {"int16_500_field2.dat", ":3", integer},
      {"int16_500_field3.dat", ":3", integer},
      {"int16_line12_field5.dat", ":3", integer},
      {"int16_line11_field3.dat", ":3", integer},
      {"int16_line10_field3.dat", ":3", integer},
      {"int16_negated_field3.dat", ":3", integer},
      {"int16_field7_line.dat", ":3", integer},
      {"int16_field7_text.dat", ":3", integer},
      {"size_number_0.dat", ":3", sizeNumber},
      {"size_number_42.dat", ":3", sizeNumber},
      {"size_number_99.dat", ":3", sizeNumber},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Workspace space(kHostile / c.file);
    Snapshot before = Take(space.dir);
    std::string expected = std::string("qd2vz: ") + c.file + c.where + ": " + c.message + "\n";

    auto toFile = RunQd2vz(space.dir, std::string("-s sizes.qdc -o out.txt ") + c.file);
    EXPECT_EQ(toFile.status, 1);
    EXPECT_EQ(toFile.err, expected);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(Take(space.dir), before);

    auto toFolder = RunQd2vz(space.dir, std::string("-s sizes.qdc -d . ") + c.file);
    EXPECT_EQ(toFolder.status, 1);
    EXPECT_EQ(toFolder.err, expected);
    EXPECT_EQ(Take(space.dir), before);

    auto toStdout = RunQd2vz(space.dir, std::string("-s sizes.qdc ") + c.file);
    EXPECT_EQ(toStdout.status, 1);
    EXPECT_EQ(toStdout.out, "");
  }
}

// Inputs that look odd but are data: they convert to the bytes given.
TEST(HostileInput, OddButValidInputsConvert) {
  struct Case {
    fs::path input;
    fs::path sizes;
    fs::path expected;
    const char* warning;
  };
  const Case cases[] = {
      // Lone CR and lone LF end lines as CR LF does.
      {kHostile / "lone_cr.dat", kRuns / "sizes.qdc", kRuns / "example1.expected", ""},
      {kHostile / "lone_lf.dat", kRuns / "sizes.qdc", kRuns / "example1.expected", ""},
      // A field 1 far beyond 16 bits is only compared, never made an integer.
      {kHostile / "huge_field1.dat", kRuns / "sizes.qdc", kHostile / "huge_field1.expected", ""},
      // Size numbers 1 and 41 use slots 0 and 10, 40 and 50: the last slot of the table.
      {kHostile / "size_number_1_and_41.dat", kHostile / "sizes_51.qdc",
       kHostile / "size_number_1_and_41.expected", ""},
      {kHostile / "size_number_1_and_41.dat", kHostile / "sizes_52.qdc",
       kHostile / "size_number_1_and_41.expected",
       "qd2vz: sizes.qdc: 文字サイズのデータが51個を越えました（52個目から後は読み込みません）\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.filename().string() + " with " + c.sizes.filename().string());
    Workspace space(c.input, c.sizes);
    Snapshot expected = Take(space.dir);
    expected["out.txt"] = ReadBytes(c.expected);
    auto result = RunQd2vz(space.dir, "-s sizes.qdc -o out.txt " + c.input.filename().string());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, c.warning);
    EXPECT_EQ(Take(space.dir), expected);
  }
}

// The records of one block: "999", "1 T", the records, then the block end.
std::string Block(const std::vector<std::string>& records) {
  std::string data = "999\r\n1 T\r\n";
  for (const auto& record : records) data += record + "\r\n";
  return data + "99 0\r\n";
}

// Large inputs: long lines, many lines, a full macro. Lengths count characters, not bytes:
// the long records are text records whose text is a double-byte character repeated.
TEST(HostileInput, LargeInputs) {
  const std::string kanji = "\x8E\x9A";  // 字
  const std::string textHead = "01 01 1 2 3 4 10003 001 \"";
  auto record = [&](size_t characters) {
    return textHead + Repeat(kanji, characters - textHead.size());
  };
  std::vector<std::string> fullMacro(1190, "02 20 1 2 3 4");
  std::vector<std::string> overfullMacro(1191, "02 20 1 2 3 4");
  struct Case {
    const char* name;
    std::string data;
    int status;
    const char* err;
    size_t outputLines;  // CR LF in the saved bytes
  };
  const Case cases[] = {
      {"comment of 40000 characters", "#" + Repeat("x", 39999) + "\r\n" + Block({}), 0, "", 12},
      {"record of 40000 characters", Block({record(40000)}), 1,
       "qd2vz: in.dat:3: レコードが32767文字を越えています\n", 0},
      {"record of 32767 characters", Block({record(32767)}), 0, "", 13},
      {"record of 32768 characters", Block({record(32768)}), 1,
       "qd2vz: in.dat:3: レコードが32767文字を越えています\n", 0},
      // Slots 0 to 5 are the head and the block, slots 1196 to 1199 its end, slot 1200 the
      // empty last line: 1201 lines, then the one CR LF that every saved text ends with.
      {"macro of exactly 1200 slots", Block(fullMacro), 0, "", 1202},
      {"macro of 1201 slots", Block(overfullMacro), 1,
       "qd2vz: in.dat:1194: 変換結果がマクロの行数の制限（1200行）を越えました\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Workspace space;
    WriteBytes(space.dir / "in.dat", c.data);
    Snapshot before = Take(space.dir);
    auto result = RunQd2vz(space.dir, "-s sizes.qdc -o out.txt in.dat");
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, c.err);
    Snapshot after = Take(space.dir);
    if (c.status == 0) {
      size_t lineEnds = 0;
      for (size_t at = 0; (at = after["out.txt"].find("\r\n", at)) != std::string::npos; at += 2) {
        ++lineEnds;
      }
      EXPECT_EQ(lineEnds, c.outputLines);
      if (c.data.find(textHead) != std::string::npos) {
        // The whole text reaches the statement.
        EXPECT_NE(after["out.txt"].find("  \"" + Repeat(kanji, 32767 - textHead.size()) + "\" )"),
                  std::string::npos);
      }
      before["out.txt"] = after["out.txt"];
    }
    EXPECT_EQ(after, before);
  }
}

// A file of 5000 lines is converted from its first 1199; what stands after them, even bytes
// that are no text at all, is never read.
TEST(HostileInput, FiveThousandLinesAreCutAt1199) {
  Workspace space;
  std::string head = "999\r\n1 T\r\n" + Repeat("7 5 1 2 3 4\r\n", 1197);
  WriteBytes(space.dir / "first.dat", head);
  WriteBytes(space.dir / "long.dat",
             head + "99 0\r\n\x80\x82" + std::string(1, '\0') + "\n" + Repeat("1 2\n", 3798));
  auto first = RunQd2vz(space.dir, "-s sizes.qdc first.dat");
  auto longer = RunQd2vz(space.dir, "-s sizes.qdc long.dat");
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(longer.status, 0);
  EXPECT_EQ(longer.err, "qd2vz: long.dat:1200: データ行が制限を越えました\n");
  EXPECT_EQ(longer.out, first.out);
}

// Character-size files: more than 51 items warn and keep the first 51; broken files refuse.
TEST(HostileInput, SizeFiles) {
  std::string many;
  for (int i = 1; i <= 1000; ++i) many += std::to_string(i) + (i % 10 ? "," : "\r\n");
  const std::string overflow =
      "qd2vz: sizes.qdc: 文字サイズのデータが51個を越えました（52個目から後は読み込みません）\n";
  struct Case {
    const char* name;
    std::string bytes;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {"51 items", ReadBytes(kHostile / "sizes_51.qdc"), 0, ""},
      {"52 items", ReadBytes(kHostile / "sizes_52.qdc"), 0, overflow},
      {"1000 items", many, 0, overflow},
      {"unclosed quote", ReadBytes(kHostile / "unclosed_quote.qdc"), 1,
       "qd2vz: sizes.qdc:2: 引用符（\"）が閉じていません\n"},
      {"empty slot 0", ",1\r\n", 1, "qd2vz: in.dat: 文字サイズのデータがありません\n"},
      {"empty file", "", 1, "qd2vz: in.dat: 文字サイズのデータがありません\n"},
      {"NUL bytes", ReadBytes(kHostile / "binary.dat"), 1,
       "qd2vz: sizes.qdc:1: テキストファイルではありません（NUL文字があります）\n"},
      {"UTF-8 mark", ReadBytes(kHostile / "utf8_bom.dat"), 1,
       "qd2vz: sizes.qdc:1: UTF-8のファイルです。Shift-JIS（コードページ932）のファイルを選択して"
       "ください\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Workspace space(kHostile / "size_number_1_and_41.dat");
    fs::rename(space.dir / "size_number_1_and_41.dat", space.dir / "in.dat");
    WriteBytes(space.dir / "sizes.qdc", c.bytes);
    Snapshot expected = Take(space.dir);
    if (c.status == 0) expected["out.txt"] = ReadBytes(kHostile / "size_number_1_and_41.expected");
    auto result = RunQd2vz(space.dir, "-s sizes.qdc -o out.txt in.dat");
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(Take(space.dir), expected);
  }
}

// Files that cannot be read and places that cannot be written.
TEST(HostileInput, UnreadableInputsAndUnwritableOutputs) {
  const fs::path good = kRuns / "example1.dat";
  struct Case {
    const char* name;
    std::string args;
    std::string err;
  };
  const Case cases[] = {
      {"folder as input", "-s sizes.qdc -o out.txt folder",
       "qd2vz: folder: フォルダーです。ファイルを選択してください\n"},
      {"folder as size file", "-s folder -o out.txt example1.dat",
       "qd2vz: folder: フォルダーです。ファイルを選択してください\n"},
      {"missing size file", "-s none.qdc -o out.txt example1.dat",
       "qd2vz: none.qdc: ファイルが見つかりません\n"},
      {"output into a missing folder", "-s sizes.qdc -o missing/out.txt example1.dat",
       "qd2vz: missing/out.txt: 保存先のフォルダーが見つかりません\n"},
      {"output onto a folder", "-s sizes.qdc -o folder example1.dat",
       "qd2vz: folder: フォルダーには保存できません\n"},
      {"output below a file", "-s sizes.qdc -o out.txt/x.txt example1.dat",
       "qd2vz: out.txt/x.txt: パスの途中にフォルダーではなくファイルがあります\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Workspace space(good);
    fs::create_directory(space.dir / "folder");
    Snapshot before = Take(space.dir);
    auto result = RunQd2vz(space.dir, c.args);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(Take(space.dir), before);
  }
}

TEST(HostileInput, UnreadableFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  Workspace space(kRuns / "example1.dat");
  fs::permissions(space.dir / "example1.dat", fs::perms::none);
  Snapshot before = Take(space.dir);
  auto result = RunQd2vz(space.dir, "-s sizes.qdc -o out.txt example1.dat");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "qd2vz: example1.dat: ファイルを開く権限がありません\n");
  fs::permissions(space.dir / "example1.dat", fs::perms::owner_read, fs::perm_options::add);
  EXPECT_EQ(Take(space.dir), before);
}

bool IsCharacterDevice(const fs::path& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

// A device is written in place, never replaced by a file; a full one is a failure.
TEST(HostileInput, DevicesAsOutput) {
  Workspace space(kRuns / "example1.dat");
  auto toNull = RunQd2vz(space.dir, "-s sizes.qdc -o /dev/null example1.dat");
  EXPECT_EQ(toNull.status, 0);
  EXPECT_EQ(toNull.err, "");
  EXPECT_TRUE(IsCharacterDevice("/dev/null"));

  // Standard output on a full device must not pass for success.
  std::string command = "cd '" + space.dir.path().string() +
                        "' && '" QD2VZ "' -s sizes.qdc example1.dat >/dev/full 2>/dev/null";
  int raw = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 1);

  if (mknod((space.dir / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    GTEST_SKIP() << "cannot make a device node here (root only)";
  }
  Snapshot before = Take(space.dir);
  auto toFull = RunQd2vz(space.dir, "-s sizes.qdc -o full example1.dat");
  EXPECT_EQ(toFull.status, 1);
  EXPECT_EQ(toFull.err, "qd2vz: full: ディスクの空き容量が足りません\n");
  EXPECT_TRUE(IsCharacterDevice(space.dir / "full"));
  EXPECT_EQ(Take(space.dir), before);
}

// In one batch every bad input is reported in turn and only the good one is written.
TEST(HostileInput, BatchOfHostileInputs) {
  TempDir dir;
  fs::copy_file(kRuns / "sizes.qdc", dir / "sizes.qdc");
  std::string args = "-s sizes.qdc -d out";
  std::string expectedErr;
  for (const char* name : {"empty.dat", "binary.dat", "utf16_bom.dat", "lead_byte_at_file_end.dat",
                           "int16_field7_text.dat", "lone_lf.dat", "size_number_99.dat"}) {
    fs::copy_file(kHostile / name, dir / name);
    args += std::string(" ") + name;
  }
  auto result = RunQd2vz(dir, args);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "qd2vz: empty.dat: ＱＤのデータではありません\n"
            "qd2vz: binary.dat:1: テキストファイルではありません（NUL文字があります）\n"
            "qd2vz: utf16_bom.dat:1: UTF-16のファイルです。Shift-JIS（コードページ932）のファイルを"
            "選択してください\n"
            "qd2vz: lead_byte_at_file_end.dat:5: Shift-JIS（コードページ932）として読めない文字があ"
            "ります\n"
            "qd2vz: int16_field7_text.dat:3: 数値が整数の範囲（-32768～32767）を越えています\n"
            "qd2vz: size_number_99.dat:3: 文字サイズ番号が1～41の範囲にありません\n");
  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(dir / "out")) {
    written.insert(entry.path().filename().string());
  }
  EXPECT_EQ(written, (std::set<std::string>{"lone_lf.txt"}));
  EXPECT_EQ(ReadBytes(dir / "out" / "lone_lf.txt"), ReadBytes(kRuns / "example1.expected"));
}

// An output that is an input under another name (a hard link, a symbolic link) is refused,
// wherever that input stands among many.
TEST(HostileInput, NeverReplacesAnInputUnderAnotherName) {
  TempDir dir;
  fs::copy_file(kRuns / "sizes.qdc", dir / "sizes.qdc");
  std::string inputs;
  for (int i = 0; i < 30; ++i) {
    std::string name = "in" + std::to_string(i) + ".dat";
    fs::copy_file(kRuns / "example1.dat", dir / name);
    inputs += " " + name;
  }
  fs::create_directories(dir / "out");
  fs::create_hard_link(dir / "in17.dat", dir / "out" / "in3.txt");
  fs::create_symlink("../in25.dat", dir / "out" / "in8.txt");
  Snapshot before = Take(dir);
  auto result = RunQd2vz(dir, "-s sizes.qdc -d out" + inputs);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "qd2vz: out/in3.txt: 入力ファイルは上書きしません\n"
            "qd2vz: out/in8.txt: 入力ファイルは上書きしません\n");
  Snapshot after = Take(dir);
  for (const auto& [name, bytes] : before) {
    EXPECT_EQ(after[name], bytes) << name;
  }
  EXPECT_EQ(after.size(), before.size() + 28);
}

}  // namespace
}  // namespace qdvz
