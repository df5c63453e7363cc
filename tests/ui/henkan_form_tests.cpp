#include "ui/henkan_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "convert/convert_records.h"
#include "convert/messages.h"
#include "convert/text.h"
#include "fake_window.h"
#include "io/io_messages.h"
#include "support/temp_dir.h"
#include "ui/ui_messages.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;

using test::Caption;
using test::Display;
using test::FakeWindow;
using test::Name;
using test::Status;

std::u16string U(std::string_view utf8) {
  return FromUtf8(utf8);
}

// Code page 932 bytes of a few Japanese words used below.
constexpr char kHasenSjis[] = "\x94\x6A\x90\xFC";  // 破線
constexpr char16_t kHasen[] = u"破線";

constexpr char kExample1[] = "999\r\n1 DASH\r\n500 100 50\r\n10 10 0 0 100 0\r\n99 0\r\n";
constexpr char16_t kExample1Document[] =
    u"vzm\r\n#----------------------------------------------\r\n\r\nbegin  \"DASH\"\r\n"
    u"scale(100, 0, 0,  20,  10)\r\nselect(0 ,0)\r\nline(10, 0,  0,  100,  0,  0,  0,  0 )\r\n"
    u"end\r\n#---------------------------------\r\n\r\n\r\n\r\n";
constexpr char kSizes[] = "2.5,3,3.5,4,5,6,7,8,10,12\r\n2,2.4,2.8,3.2,4,4.8,5.6,6.4,8,9.6\r\n";

class HenkanFormTest : public ::testing::Test {
 protected:
  void SetUp() override { window_.directory = dir_.u16string(); }

  void Write(const std::string& name, std::string_view bytes) {
    std::ofstream out(dir_ / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::string Lines(int count, const std::string& prefix = "line ") {
    std::string text;
    for (int i = 1; i <= count; ++i) text += prefix + std::to_string(i) + "\r\n";
    return text;
  }

  void Open(const std::string& name, std::string_view bytes) {
    Write(name, bytes);
    window_.fileName = U(name);
    form_.DatOpen_Click();
  }
  void OpenSizes(const std::string& name, std::string_view bytes) {
    Write(name, bytes);
    window_.fileName = U(name);
    form_.datopen1_Click();
  }
  // Takes a snapshot of the form's data, to show that a refused action left it alone.
  struct Snapshot {
    HenkanForm::DataLineArray lines;
    SizeItems sizes;
    std::u16string saved;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() const { return {form_.DataLines(), form_.Sizes(), form_.SavedDisplay()}; }

  test::TempDir temp_;
  fs::path dir_ = temp_.path();
  FakeWindow window_;
  HenkanForm form_{window_};
};

// Form_Load and File1_Click ----------------------------------------------------------------

TEST_F(HenkanFormTest, FormLoadAsksForACommandAndFileClickCopiesTheName) {
  form_.Form_Load();
  form_.File1_Click(u"破線.dat");
  EXPECT_EQ(window_.effects,
            (std::vector<std::u16string>{Status(ui_msg::kChooseCommand), Name(u"破線.dat")}));
  EXPECT_EQ(window_.caption, ui_msg::kStartCaption);
}

// DatOpen_Click ------------------------------------------------------------------------------

TEST_F(HenkanFormTest, OpenJudgesNamesByTheirLastThreeCharacters) {
  struct Case {
    const char* name;
    const char16_t* refusal;  // nullptr: accepted
  };
  const Case cases[] = {
      {"x.dat", nullptr},
      {"x.DAT", nullptr},
      {"x.txt", nullptr},
      {"x.TXT", nullptr},
      {"x.vzm", nullptr},
      {"x.VZM", nullptr},
      {"xdat", nullptr},
      {"dat", nullptr},
      {"x.Dat", ui_msg::kWrongDataExtension},
      {"x.qdc", ui_msg::kWrongDataExtension},
      {"at", ui_msg::kWrongDataExtension},
      {"x.dat ", ui_msg::kWrongDataExtension},
      {"", ui_msg::kChooseFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.refusal == nullptr) Write(c.name, "999\r\n");
    window_.fileName = U(c.name);
    window_.caption = ui_msg::kStartCaption;
    window_.effects.clear();
    form_.DatOpen_Click();
    if (c.refusal) {
      EXPECT_EQ(window_.effects, std::vector<std::u16string>{Status(c.refusal)});
    } else {
      EXPECT_EQ(window_.status, ui_msg::kReadDone);
      EXPECT_EQ(window_.caption, ui_msg::kIdleCaption);
    }
  }
}

TEST_F(HenkanFormTest, OpenShowsProgressThenTheFileAndStoresItsLines) {
  window_.display = u"old";
  Open("abc.dat", std::string("999\r\n\r\n1 ") + kHasenSjis + "\r\nlast");
  EXPECT_EQ(window_.effects,
            (std::vector<std::u16string>{
                Status(u"abc.datを読み込み中"), Caption(ui_msg::kReadingCaption),
                Status(ui_msg::kReadDone), Display(u"999\r\n\r\n1 破線\r\nlast\r\n"),
                Caption(ui_msg::kIdleCaption)}));
  EXPECT_EQ(form_.DataLines()[0], u"999");
  EXPECT_EQ(form_.DataLines()[1], u"");
  EXPECT_EQ(form_.DataLines()[2], std::u16string(u"1 ") + kHasen);
  EXPECT_EQ(form_.DataLines()[3], u"last");
  EXPECT_EQ(window_.fileName, u"abc.dat");
}

TEST_F(HenkanFormTest, OpenOfAnEmptyFileEmptiesTheDisplay) {
  window_.display = u"old";
  Open("empty.txt", "");
  EXPECT_EQ(window_.display, u"");
  EXPECT_EQ(window_.status, ui_msg::kReadDone);
  EXPECT_EQ(window_.caption, ui_msg::kIdleCaption);
  EXPECT_EQ(form_.DataLines()[0], u"");
}

TEST_F(HenkanFormTest, OpenReportsTheLineLimitOnlyWhenLinesWereLeftUnread) {
  struct Case {
    int lines;
    const char16_t* status;
  };
  for (const Case& c : {Case{1198, ui_msg::kReadDone}, Case{1199, ui_msg::kReadDone},
                        Case{1200, msg::kTooManyLines}, Case{5000, msg::kTooManyLines}}) {
    SCOPED_TRACE(c.lines);
    Open("many.dat", Lines(c.lines));
    EXPECT_EQ(window_.status, c.status);
    const int stored = std::min(c.lines, 1199);
    EXPECT_EQ(form_.DataLines()[static_cast<size_t>(stored - 1)],
              U("line " + std::to_string(stored)));
    EXPECT_EQ(form_.DataLines()[1199], u"");
    EXPECT_EQ(window_.display, U(Lines(stored)));
  }
}

TEST_F(HenkanFormTest, OpenOfAShorterFileForgetsTheLinesOfTheLongerOne) {
  Open("long.dat", Lines(500, "old "));
  Open("short.dat", Lines(100, "new "));
  EXPECT_EQ(form_.DataLines()[99], u"new 100");
  for (size_t slot = 100; slot < form_.DataLines().size(); ++slot) {
    ASSERT_EQ(form_.DataLines()[slot], u"") << "slot " << slot;
  }
}

TEST_F(HenkanFormTest, OpenLooksForTheNameInTheDirectoryShown) {
  fs::create_directory(dir_ / "sub");
  Write("sub/x.dat", "in sub\r\n");
  Write("x.dat", "in top\r\n");

  window_.fileName = u"sub/x.dat";  // a typed name with a directory part is appended as it is
  form_.DatOpen_Click();
  EXPECT_EQ(window_.display, u"in sub\r\n");

  window_.directory = (dir_ / "").u16string();  // a directory that already ends in a separator
  window_.fileName = u"x.dat";
  form_.DatOpen_Click();
  EXPECT_EQ(window_.display, u"in top\r\n");

  window_.directory = (dir_ / "sub").u16string();  // the old name, looked for in a new place
  form_.DatOpen_Click();
  EXPECT_EQ(window_.display, u"in sub\r\n");
}

// datopen1_Click -----------------------------------------------------------------------------

TEST_F(HenkanFormTest, SizeLoadJudgesNamesByTheirLastThreeCharacters) {
  struct Case {
    const char* name;
    const char16_t* refusal;
  };
  const Case cases[] = {
      {"x.qdc", nullptr},
      {"x.QDC", nullptr},
      {"qdc", nullptr},
      {"x.Qdc", ui_msg::kChooseSizeFile},
      {"x.txt", ui_msg::kChooseSizeFile},
      {"dc", ui_msg::kChooseSizeFile},
      {"", ui_msg::kChooseFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.refusal == nullptr) Write(c.name, "1,2\r\n");
    window_.fileName = U(c.name);
    window_.effects.clear();
    form_.datopen1_Click();
    if (c.refusal) {
      EXPECT_EQ(window_.effects, std::vector<std::u16string>{Status(c.refusal)});
    } else {
      EXPECT_EQ(window_.status, ui_msg::kReadDone);
      EXPECT_EQ(form_.Sizes()[1], u"2");
    }
  }
}

TEST_F(HenkanFormTest, SizeLoadShowsTheFileAndStoresItsItems) {
  OpenSizes("moji.qdc", kSizes);
  EXPECT_EQ(window_.effects,
            (std::vector<std::u16string>{
                Status(u"moji.qdcを読み込み中"), Caption(ui_msg::kReadingCaption),
                Display(U(kSizes)), Caption(ui_msg::kIdleCaption), Status(ui_msg::kReadDone)}));
  EXPECT_EQ(form_.Sizes()[0], u"2.5");
  EXPECT_EQ(form_.Sizes()[9], u"12");
  EXPECT_EQ(form_.Sizes()[10], u"2");
  EXPECT_EQ(form_.Sizes()[19], u"9.6");
  EXPECT_EQ(form_.Sizes()[20], u"");
}

std::string Items(int count, const std::string& prefix) {
  std::string text;
  for (int i = 0; i < count; ++i) text += (i ? "," : "") + prefix + std::to_string(i);
  return text + "\r\n";
}

TEST_F(HenkanFormTest, SizeLoadReplacesTheWholeTable) {
  OpenSizes("forty.qdc", Items(40, "a"));
  OpenSizes("thirty.qdc", Items(30, "b"));
  EXPECT_EQ(form_.Sizes()[29], u"b29");
  for (size_t slot = 30; slot < form_.Sizes().size(); ++slot) {
    EXPECT_EQ(form_.Sizes()[slot], u"") << "slot " << slot;
  }
}

// DatCh_Click --------------------------------------------------------------------------------

TEST_F(HenkanFormTest, ConvertWithoutSizeDataStopsAfterEmptyingTheBoxes) {
  Open("abc.dat", kExample1);
  OpenSizes("lead.qdc", ",2,3\r\n");  // an empty first item leaves the table absent
  window_.fileName = u"abc.dat";
  window_.effects.clear();
  form_.DatCh_Click();
  EXPECT_EQ(window_.effects,
            (std::vector<std::u16string>{Caption(U("abc.dat") + ui_msg::kConvertingCaption),
                                         Status(U("abc.dat") + ui_msg::kConvertingStatus),
                                         Display(u""), Name(u""), Status(msg::kNoSizeData)}));
}

TEST_F(HenkanFormTest, ConvertShowsTheDocument) {
  OpenSizes("s.qdc", kSizes);
  Open("abc.dat", kExample1);
  window_.effects.clear();
  form_.DatCh_Click();
  EXPECT_EQ(window_.effects, (std::vector<std::u16string>{
                                 Caption(U("abc.dat") + ui_msg::kConvertingCaption),
                                 Status(U("abc.dat") + ui_msg::kConvertingStatus), Display(u""),
                                 Name(u""), Display(kExample1Document),
                                 Caption(ui_msg::kIdleCaption), Status(ui_msg::kConverted)}));
}

TEST_F(HenkanFormTest, ConvertRefusesDataThatIsNotQdDataKeepingTheProgressCaption) {
  OpenSizes("s.qdc", kSizes);
  for (const char* data : {"1 DASH\r\n99 0\r\n", "999\r\nvzm\r\n1 DASH\r\n99 0\r\n"}) {
    SCOPED_TRACE(data);
    Open("abc.dat", data);
    form_.DatCh_Click();
    EXPECT_EQ(window_.status, msg::kNotQdData);
    EXPECT_EQ(window_.caption, U("abc.dat") + ui_msg::kConvertingCaption);
    EXPECT_EQ(window_.display, u"");
  }
}

TEST_F(HenkanFormTest, ConvertUsesDataLoadedBeforeAnErase) {
  OpenSizes("s.qdc", kSizes);
  Open("abc.dat", kExample1);
  form_.Erase_Click();
  form_.DatCh_Click();
  EXPECT_EQ(window_.display, kExample1Document);
}

// DatSave_Click ------------------------------------------------------------------------------

TEST_F(HenkanFormTest, SaveJudgesNamesByTheirLastThreeCharacters) {
  struct Case {
    const char* name;
    const char16_t* refusal;
  };
  const Case cases[] = {
      {"x.QDC", nullptr},
      {"x.qdc", nullptr},
      {"x.txt", nullptr},
      {"x.TXT", nullptr},
      {"x.dat", nullptr},
      {"x.DAT", nullptr},
      {"xtxt", nullptr},
      {"x.vzm", ui_msg::kWrongSaveExtension},
      {"y.Txt", ui_msg::kWrongSaveExtension},  // not x.txt, the same file on Windows
      {"x.doc", ui_msg::kWrongSaveExtension},
      {"", ui_msg::kNameToSave},
  };
  window_.display = u"a";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window_.fileName = U(c.name);
    window_.caption = u"before";
    window_.effects.clear();
    form_.DatSave_Click();
    if (c.refusal) {
      EXPECT_EQ(window_.effects, (std::vector<std::u16string>{Status(u""), Status(c.refusal)}));
      if (*c.name) {
        EXPECT_FALSE(fs::exists(dir_ / c.name));
      }
    } else {
      EXPECT_EQ(window_.effects, (std::vector<std::u16string>{
                                     Status(u""), Caption(ui_msg::kWritingCaption), u"refresh",
                                     Caption(ui_msg::kIdleCaption), Status(ui_msg::kSaved)}));
      EXPECT_EQ(Read(c.name), "a\r\n");
    }
  }
}

TEST_F(HenkanFormTest, SaveWritesTheDisplayAndOneLineEndInCodePage932) {
  struct Case {
    std::u16string display;
    std::string bytes;
  };
  const Case cases[] = {
      {u"", "\r\n"},
      {u"a\r\nb\r\n", "a\r\nb\r\n\r\n"},
      {std::u16string(u"begin  \"") + kHasen + u"\"",
       std::string("begin  \"") + kHasenSjis + "\"\r\n"},
      {u"\\~", "\\~\r\n"},
  };
  window_.fileName = u"out.txt";
  for (const Case& c : cases) {
    window_.display = c.display;
    form_.DatSave_Click();
    EXPECT_EQ(Read("out.txt"), c.bytes);  // each save replaces the file of the one before
    EXPECT_EQ(window_.display, c.display);
    EXPECT_EQ(window_.fileName, u"out.txt");
  }
}

TEST_F(HenkanFormTest, OpenConvertSaveGivesTheDocumentAndOneLineEnd) {
  OpenSizes("s.qdc", kSizes);
  Open("abc.dat", kExample1);
  form_.DatCh_Click();
  window_.fileName = u"abc.txt";
  form_.DatSave_Click();
  EXPECT_EQ(U(Read("abc.txt")), std::u16string(kExample1Document) + u"\r\n");
}

// Erase_Click and hyouji_Click ---------------------------------------------------------------

TEST_F(HenkanFormTest, EraseKeepsTheDisplayAndRedisplayBringsItBackOnce) {
  window_.display = u"text\r\n";
  window_.fileName = u"a.dat";
  form_.Erase_Click();
  EXPECT_EQ(window_.effects,
            (std::vector<std::u16string>{Name(u""), Display(u""), Status(ui_msg::kErased)}));
  EXPECT_EQ(form_.SavedDisplay(), u"text\r\n");

  window_.effects.clear();
  form_.hyouji_Click();
  EXPECT_EQ(window_.effects,
            (std::vector<std::u16string>{Display(u"text\r\n"), Status(ui_msg::kRedisplayed)}));
  EXPECT_EQ(window_.fileName, u"");  // the name does not come back
  EXPECT_EQ(form_.SavedDisplay(), u"");

  form_.hyouji_Click();  // a second redisplay has nothing left to show
  EXPECT_EQ(window_.display, u"");
}

TEST_F(HenkanFormTest, RedisplayWithoutEraseEmptiesTheDisplay) {
  window_.display = u"text";
  form_.hyouji_Click();
  EXPECT_EQ(window_.display, u"");
  EXPECT_EQ(window_.status, ui_msg::kRedisplayed);
}

TEST_F(HenkanFormTest, SecondEraseKeepsTheAlreadyEmptyDisplay) {
  window_.display = u"text";
  form_.Erase_Click();
  form_.Erase_Click();
  form_.hyouji_Click();
  EXPECT_EQ(window_.display, u"");
}

TEST_F(HenkanFormTest, SaveRightAfterEraseAsksForAName) {
  window_.fileName = u"a.txt";
  form_.Erase_Click();
  form_.DatSave_Click();
  EXPECT_EQ(window_.status, ui_msg::kNameToSave);
  EXPECT_FALSE(fs::exists(dir_ / "a.txt"));
}

// Form_OLEDragDrop ---------------------------------------------------------------------------

TEST_F(HenkanFormTest, DropOpensTheFirstFileFromItsFolder) {
  fs::create_directory(dir_ / "drop");
  Write("drop/dash.dat", kExample1);
  Write("drop/moji.QDC", kSizes);
  Write("drop/notes.bin", "x");
  const std::u16string drop = (dir_ / "drop").u16string();
  const std::u16string here = dir_.u16string();
  const std::u16string read = ui_msg::kReadDone;
  struct Case {
    std::vector<std::string> names;  // in drop/; "" is drop/ itself
    std::u16string status, fileName, directory, display;
  };
  const Case cases[] = {
      {{"dash.dat"}, read, u"dash.dat", drop, U(kExample1)},
      {{"moji.QDC"}, read, u"moji.QDC", drop, U(kSizes)},
      {{"dash.dat", "moji.QDC", "notes.bin"},
       read + u"（ドロップされた3個のファイルのうち、最初の1個だけを扱いました）",
       u"dash.dat",
       drop,
       U(kExample1)},
      {{"notes.bin"}, ui_msg::kWrongDataExtension, u"notes.bin", drop, u"old"},
      {{""}, ui_msg::kFolderDropped, u"before", here, u"old"},
      {{"gone/x.dat"}, ui_msg::kDropFolderMissing, u"before", here, u"old"},
      {{}, u"", u"before", here, u"old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.names.empty() ? "nothing" : c.names.front());
    std::vector<std::u16string> paths;
    for (const std::string& name : c.names) {
      paths.push_back((name.empty() ? dir_ / "drop" : dir_ / "drop" / name).u16string());
    }
    window_ = FakeWindow{};
    window_.fileName = u"before";
    window_.directory = here;
    window_.display = u"old";
    form_.Form_OLEDragDrop(paths);
    EXPECT_EQ(window_.status, c.status);
    EXPECT_EQ(window_.fileName, c.fileName);
    EXPECT_EQ(window_.directory, c.directory);
    EXPECT_EQ(window_.display, c.display);
  }
}

}  // namespace
}  // namespace qdvz
