// Broken and hostile files through the window's handlers: the exact status text and caption,
// and that a refused action leaves the loaded data, the display and every file as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "convert/messages.h"
#include "convert/text.h"
#include "fake_window.h"
#include "io/cp932_runs.h"
#include "io/io_messages.h"
#include "support/temp_dir.h"
#include "ui/henkan_form.h"
#include "ui/ui_messages.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;
using test::Caption;
using test::Status;

std::u16string U(std::string_view utf8) {
  return FromUtf8(utf8);
}

constexpr char kSizes[] = "2.5,3,3.5,4,5,6,7,8,10,12\r\n2,2.4,2.8,3.2,4,4.8,5.6,6.4,8,9.6\r\n";
constexpr char kData[] = "999\r\n1 DASH\r\n500 100 50\r\n10 10 0 0 100 0\r\n99 0\r\n";

// "999", a block header "1 T", then the records, all with CR LF.
std::string Block(const std::vector<std::string>& records) {
  std::string text = "999\r\n1 T\r\n";
  for (const std::string& record : records) text += record + "\r\n";
  return text;
}

std::string Repeat(std::string_view part, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += part;
  return text;
}

// count items "s0,s1,..." on lines of ten.
std::string SizeItemsFile(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += "s" + std::to_string(i) + (i % 10 == 9 || i + 1 == count ? "\r\n" : ",");
  }
  return text;
}

size_t LineCount(std::u16string_view text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), u'\n'));
}

class HenkanFormHostileTest : public ::testing::Test {
 protected:
  void SetUp() override { window_.directory = dir_.path().u16string(); }

  void Put(const std::string& name, std::string_view bytes) {
    test::WriteBytes(dir_ / name, bytes);
  }
  void Click(void (HenkanForm::*handler)(), const std::string& name) {
    window_.fileName = U(name);
    window_.effects.clear();
    (form_.*handler)();
  }
  void Load(void (HenkanForm::*handler)(), const std::string& name, std::string_view bytes) {
    Put(name, bytes);
    Click(handler, name);
  }

  // Everything a refused action must leave alone, the directory included.
  struct State {
    HenkanForm::DataLineArray lines;
    SizeItems sizes;
    std::u16string display;
    std::map<std::string, std::string> files;  // name -> bytes of regular files, else a kind
    bool operator==(const State&) const = default;
  };
  State Take() const {
    State state{form_.DataLines(), form_.Sizes(), window_.display, {}};
    for (const std::string& name : dir_.Names()) {
      const fs::path path = dir_ / name;
      state.files[name] = fs::is_directory(path)      ? "(folder)"
                          : fs::is_regular_file(path) ? test::ReadBytes(path)
                                                      : "(other)";
    }
    return state;
  }

  test::TempDir dir_;
  test::FakeWindow window_;
  HenkanForm form_{window_};
};

// DatOpen_Click, datopen1_Click ------------------------------------------------------------

TEST_F(HenkanFormHostileTest, RefusedLoadsChangeNothing) {
  Load(&HenkanForm::datopen1_Click, "good.qdc", kSizes);
  Load(&HenkanForm::DatOpen_Click, "good.dat", kData);
  form_.DatCh_Click();
  const std::u16string document = window_.display;
  ASSERT_EQ(window_.status, ui_msg::kConverted);
  window_.display = u"shown before";

  enum Kind { kFile, kMissing, kFolder, kPipe };
  struct Case {
    const char* stem;
    Kind kind;
    std::string bytes;
    std::optional<std::u16string> dataStatus;  // nullopt: the data loader takes the file
    std::optional<std::u16string> sizeStatus;  // nullopt: the size loader takes the file
  };
  const std::u16string nul1 = U("1行目: ") + msg::kNulInFile;
  const std::u16string notCp932At2 = U("2行目: ") + msg::kNotCp932;
  const Case cases[] = {
      {"elf", kFile,
       std::string("\x7F"
                   "ELF\x02\x01\x01\x00\x00\x00",
                   10),
       nul1, nul1},
      {"nul", kFile, std::string("999\r\n1 A\0B\r\n", 12), U("2行目: ") + msg::kNulInFile,
       U("2行目: ") + msg::kNulInFile},
      {"utf16le", kFile,
       std::string("\xFF\xFE"
                   "9\0"
                   "9\0"
                   "9\0"
                   "\r\0\n\0",
                   12),
       U("1行目: ") + msg::kUtf16File, U("1行目: ") + msg::kUtf16File},
      {"utf16be", kFile,
       std::string("\xFE\xFF\0"
                   "9\0"
                   "9\0"
                   "9\0\r\0\n",
                   12),
       U("1行目: ") + msg::kUtf16File, U("1行目: ") + msg::kUtf16File},
      {"utf8", kFile,
       "\xEF\xBB\xBF"
       "999\r\n1 \xE7\xA0\xB4\r\n",
       U("1行目: ") + msg::kUtf8File, U("1行目: ") + msg::kUtf8File},
      {"leadcr", kFile, "999\r\n1 \x82\r\n99 0\r\n", notCp932At2, notCp932At2},
      {"leadlf", kFile, "999\n1 \x82\n99 0\n", notCp932At2, notCp932At2},
      {"leadend", kFile, "999\r\n1 A\r\n\x82", U("3行目: ") + msg::kNotCp932,
       U("3行目: ") + msg::kNotCp932},
      {"badbyte", kFile, "999\r\n\xFD\r\n", notCp932At2, notCp932At2},
      // The data loader stops reading at its limit; the size loader has none.
      {"late", kFile, Repeat("1\r\n", 1500) + "\x82", std::nullopt,
       U("1501行目: ") + msg::kNotCp932},
      {"quote", kFile, "1,2\r\n3,\"4", std::nullopt, U("2行目: ") + msg::kUnclosedQuote},
      {"missing", kMissing, "", msg::kFileNotFound, msg::kFileNotFound},
      {"folder", kFolder, "", msg::kIsFolder, msg::kIsFolder},
      // Reading a pipe that nobody writes to would block the window for good.
      {"pipe", kPipe, "", msg::kNotRegularFile, msg::kNotRegularFile},
  };
  struct Loader {
    void (HenkanForm::*handler)();
    const char* extension;
    std::optional<std::u16string> Case::*status;
  };
  for (const Loader& loader : {Loader{&HenkanForm::DatOpen_Click, ".dat", &Case::dataStatus},
                               Loader{&HenkanForm::datopen1_Click, ".qdc", &Case::sizeStatus}}) {
    for (const Case& c : cases) {
      const std::optional<std::u16string>& status = c.*loader.status;
      if (!status) continue;
      const std::string name = c.stem + std::string(loader.extension);
      SCOPED_TRACE(name);
      if (c.kind == kFile) Put(name, c.bytes);
      if (c.kind == kFolder) fs::create_directory(dir_ / name);
      if (c.kind == kPipe) {
        ASSERT_EQ(mkfifo((dir_ / name).c_str(), 0600), 0);
      }
      const State before = Take();
      Click(loader.handler, name);
      EXPECT_EQ(window_.effects,
                (std::vector<std::u16string>{Status(U(name) + ui_msg::kReadingSuffix),
                                             Caption(ui_msg::kReadingCaption), Status(*status),
                                             Caption(ui_msg::kIdleCaption)}));
      EXPECT_TRUE(Take() == before);
    }
  }
  form_.DatCh_Click();
  EXPECT_EQ(window_.display, document);
}

TEST_F(HenkanFormHostileTest, EveryKindOfLineEndLoadsLikeCrLf) {
  auto withEnds = [](std::string text, const char* end) {
    std::string out;
    for (size_t pos = 0, next; (next = text.find("\r\n", pos)) != std::string::npos;
         pos = next + 2) {
      out += text.substr(pos, next - pos) + end;
    }
    return out;
  };
  Load(&HenkanForm::datopen1_Click, "s.qdc", kSizes);
  Load(&HenkanForm::DatOpen_Click, "d.dat", kData);
  const std::u16string dataShown = window_.display;
  form_.DatCh_Click();
  const std::u16string document = window_.display;

  const std::string mixedData = "999\r1 DASH\n500 100 50\r\n10 10 0 0 100 0\r99 0";
  const std::string mixedSizes = "2.5,3,3.5,4,5,6,7,8,10,12\r2,2.4,2.8,3.2,4,4.8,5.6,6.4,8,9.6";
  struct Case {
    const char* what;
    std::string data;
    std::string sizes;
  };
  for (const Case& c : {Case{"CR", withEnds(kData, "\r"), withEnds(kSizes, "\r")},
                        Case{"LF", withEnds(kData, "\n"), withEnds(kSizes, "\n")},
                        Case{"mixed, no last end", mixedData, mixedSizes}}) {
    SCOPED_TRACE(c.what);
    Load(&HenkanForm::datopen1_Click, "s.qdc", c.sizes);
    EXPECT_EQ(window_.display, U(kSizes));
    Load(&HenkanForm::DatOpen_Click, "d.dat", c.data);
    EXPECT_EQ(window_.display, dataShown);
    EXPECT_EQ(window_.status, ui_msg::kReadDone);
    form_.DatCh_Click();
    EXPECT_EQ(window_.display, document);
  }
}

TEST_F(HenkanFormHostileTest, EmptyFilesLoadAsNothing) {
  Load(&HenkanForm::datopen1_Click, "s.qdc", kSizes);
  Load(&HenkanForm::DatOpen_Click, "empty.dat", "");
  EXPECT_EQ(window_.status, ui_msg::kReadDone);
  form_.DatCh_Click();
  EXPECT_EQ(window_.status, msg::kNotQdData);
  EXPECT_EQ(window_.caption, U("empty.dat") + ui_msg::kConvertingCaption);

  // An empty size file replaces the table by an empty one, as any other size file would.
  Load(&HenkanForm::DatOpen_Click, "d.dat", kData);
  Load(&HenkanForm::datopen1_Click, "empty.qdc", "");
  EXPECT_EQ(window_.status, ui_msg::kReadDone);
  EXPECT_EQ(window_.display, u"");
  Click(&HenkanForm::DatCh_Click, "d.dat");
  EXPECT_EQ(window_.status, msg::kNoSizeData);
}

TEST_F(HenkanFormHostileTest, SizeFilesOfManyItemsKeepTheFirst51) {
  Load(&HenkanForm::DatOpen_Click, "d.dat", Block({"01 01 1 2 3 4 10003 141 \"x"}));
  struct Case {
    int items;
    const char16_t* status;
  };
  for (const Case& c : {Case{51, ui_msg::kReadDone}, Case{52, msg::kSizeItemsOverflow},
                        Case{1000, msg::kSizeItemsOverflow}}) {
    SCOPED_TRACE(c.items);
    Load(&HenkanForm::datopen1_Click, "s.qdc", SizeItemsFile(c.items));
    EXPECT_EQ(window_.status, c.status);
    EXPECT_EQ(window_.caption, ui_msg::kIdleCaption);
    EXPECT_EQ(window_.display, U(SizeItemsFile(c.items)));
    form_.DatCh_Click();
    EXPECT_EQ(window_.status, ui_msg::kConverted);
    EXPECT_NE(window_.display.find(u"text(10, 1,  2,  ,  2,  0,  3,  s40,  s50,  9,  \"x\" )"),
              std::u16string::npos);
  }
}

// DatCh_Click --------------------------------------------------------------------------------

TEST_F(HenkanFormHostileTest, DataBeyondTheMacroLimitsIsRefusedNamingTheLine) {
  Load(&HenkanForm::datopen1_Click, "s.qdc", SizeItemsFile(51));
  const std::string kanji = "\x8A\xBF";                       // 漢, two bytes and one character
  const std::string textHead = "01 01 1 2 3 4 10003 105 \"";  // 25 characters
  const std::string line = "02 20 1 2 3 4";
  auto macroLines = [&](int records) {
    return Block(std::vector<std::string>(static_cast<size_t>(records), line));
  };
  struct Case {
    const char* what;
    std::string data;
    std::u16string status;  // the refusal, or kConverted
    size_t documentLines;   // of a converted document
    const char16_t* loadStatus = ui_msg::kReadDone;
  };
  const std::u16string tooLong = U("3行目: ") + msg::kRecordTooLong;
  const std::u16string outOfRange = U("3行目: ") + msg::kIntegerOutOfRange;
  const std::u16string noSize = U("3行目: ") + msg::kSizeNumberOutOfRange;
  const std::u16string macroFull = U("1197行目: ") + msg::kMacroFull;
  const Case cases[] = {
      {"32767 characters", Block({textHead + Repeat(kanji, 32767 - 25)}), ui_msg::kConverted, 8},
      {"32768 characters", Block({textHead + Repeat(kanji, 32768 - 25)}), tooLong, 0},
      {"40000-character record", Block({textHead + std::string(40000 - 25, 'x')}), tooLong, 0},
      {"40000-character comment", "#" + std::string(39999, 'x') + "\r\n" + Block({}),
       ui_msg::kConverted, 7},
      {"width 32767", Block({"500 32767 50"}), ui_msg::kConverted, 7},
      {"width 32768", Block({"500 32768 50"}), outOfRange, 0},
      {"height -32769", Block({"500 5 -32769"}), outOfRange, 0},
      {"size 41", Block({"01 01 1 2 3 4 10003 141 \"x"}), ui_msg::kConverted, 8},
      {"size 0", Block({"01 01 1 2 3 4 10003 100 \"x"}), noSize, 0},
      {"size 42", Block({"01 01 1 2 3 4 10003 142 \"x"}), noSize, 0},
      {"size 99", Block({"01 01 1 2 3 4 10003 199 \"x"}), noSize, 0},
      {"1200 macro lines", macroLines(1194), ui_msg::kConverted, 1201},
      {"one more", macroLines(1195), macroFull, 0},
      {"5000 lines", macroLines(4998), macroFull, 0, msg::kTooManyLines},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Load(&HenkanForm::DatOpen_Click, "d.dat", c.data);
    ASSERT_EQ(window_.status, c.loadStatus);
    form_.DatCh_Click();
    EXPECT_EQ(window_.status, c.status);
    EXPECT_EQ(window_.caption, ui_msg::kIdleCaption);
    EXPECT_EQ(window_.fileName, u"");
    EXPECT_EQ(LineCount(window_.display), c.documentLines);
  }
}

// DatSave_Click ------------------------------------------------------------------------------

class HenkanFormSaveTest : public HenkanFormHostileTest {
 protected:
  // A refused save says why, keeps the caption idle and the boxes as they were, and leaves
  // every file, the old one included, as it was with no temporary file beside it.
  void ExpectRefused(const std::string& name, const std::u16string& display,
                     const std::u16string& status) {
    SCOPED_TRACE(name);
    window_.display = display;
    const State before = Take();
    Click(&HenkanForm::DatSave_Click, name);
    EXPECT_EQ(window_.effects,
              (std::vector<std::u16string>{Status(u""), Caption(ui_msg::kWritingCaption),
                                           Caption(ui_msg::kIdleCaption), Status(status)}));
    EXPECT_EQ(window_.fileName, U(name));
    EXPECT_TRUE(Take() == before);
  }
};

TEST_F(HenkanFormSaveTest, RefusedSavesChangeNothing) {
  Put("old.txt", "old\r\n");
  fs::create_directory(dir_ / "folder.txt");
  const std::u16string smile = u"vzm\r\n\r\nsmile \U0001F600\r\n";
  ExpectRefused("nodir/x.txt", u"vzm\r\n", msg::kFolderNotFound);
  ExpectRefused("old.txt/x.txt", u"vzm\r\n", msg::kNotFolderOnPath);
  ExpectRefused("folder.txt", u"vzm\r\n", msg::kCannotSaveToFolder);
  ExpectRefused("old.txt", smile, U("3行目: ") + msg::CannotEncode(u"1F600"));
  ExpectRefused("new.txt", smile, U("3行目: ") + msg::CannotEncode(u"1F600"));
  ExpectRefused("old.txt", u"a\xD800", U("1行目: ") + msg::CannotEncode(u"D800"));
}

// Writing into a pipe would wait until some other program reads it: the window must refuse
// at once, leaving even the caption as it was.
TEST_F(HenkanFormSaveTest, SaveToAPipeIsRefusedWithoutWaiting) {
  ASSERT_EQ(mkfifo((dir_ / "pipe.txt").c_str(), 0600), 0);
  window_.display = u"vzm\r\n";
  Click(&HenkanForm::DatSave_Click, "pipe.txt");
  EXPECT_EQ(window_.effects,
            (std::vector<std::u16string>{Status(u""), Status(msg::kCannotSaveToPipe)}));
}

// Where the system has no code page 932 converter, the window says so at start and every
// load and save says so too; nothing ends the program.
TEST_F(HenkanFormHostileTest, WithoutTheConverterEveryActionSaysSo) {
  Put("good.dat", kData);
  detail::SetCp932ConverterName("NO-SUCH-CODE-PAGE");
  form_.Form_Load();
  EXPECT_EQ(window_.status, msg::kNoCp932Converter);
  Click(&HenkanForm::DatOpen_Click, "good.dat");
  EXPECT_EQ(window_.status, msg::kNoCp932Converter);
  window_.display = u"vzm";
  Click(&HenkanForm::DatSave_Click, "out.txt");
  EXPECT_EQ(window_.status, msg::kNoCp932Converter);
  detail::SetCp932ConverterName("CP932");
  EXPECT_FALSE(fs::exists(dir_ / "out.txt"));
  EXPECT_EQ(window_.caption, ui_msg::kIdleCaption);
}

TEST_F(HenkanFormSaveTest, SaveToAFullDeviceIsReported) {
  if (mknod((dir_ / "full.txt").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    GTEST_SKIP() << "cannot make a device node here (root only)";
  }
  ExpectRefused("full.txt", u"vzm\r\n", msg::kDiskFull);
}

}  // namespace
}  // namespace qdvz
