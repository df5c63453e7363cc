// The window's handlers against a fake window: what the status line and the caption say for
// every outcome, and what a refusal leaves alone. Faults of the conversion and of the files
// themselves are the engine's and qd2vz's tests; one row of each kind shows how the window
// reports it.
#include "ui/henkan_form.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "convert/messages.h"
#include "cp932/cp932_runs.h"
#include "fake_window.h"
#include "io/io_messages.h"
#include "support/data.h"
#include "support/temp_dir.h"
#include "support/text.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;
using test::DataPath;
using test::U;
using Handler = void (HenkanForm::*)();
using Texts = std::vector<std::u16string>;

const Handler kOpen = &HenkanForm::DatOpen_Click;
const Handler kSizes = &HenkanForm::datopen1_Click;
const std::u16string kReading = U("データを読み込み中");
const std::u16string kIdle = U("線変形データ変換");
const std::u16string kRead = U("読み込み完了");
const std::u16string kSaved = U("保存が完了しました");

// A file of tests/data as the display shows it.
std::u16string Shown(std::string_view relative) {
  return U(test::ReadBytes(DataPath(relative)));
}

std::string Numbered(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i) text += std::to_string(i) + "\r\n";
  return text;
}

// One window and its form. Names are looked for in the test's own folder, or in tests/data
// when loaded by their path there ("runs/sizes.qdc").
struct Session {
  explicit Session(const test::TempDir& temp) : temp(temp) {}
  void Click(Handler handler, std::string_view name, const fs::path& folder = {}) {
    window.directory = (folder.empty() ? temp.path() : folder).u16string();
    window.fileName = U(name);
    (form.*handler)();
  }
  void Load(Handler handler, std::string_view relative) {
    const size_t slash = relative.rfind('/');
    Click(handler, relative.substr(slash + 1), DataPath(relative.substr(0, slash)));
  }
  void Forget() {
    window.statuses.clear();
    window.captions.clear();
  }
  const test::TempDir& temp;
  test::FakeWindow window;
  HenkanForm form{window};
};

class HenkanFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(temp / "long.dat", Numbered(1200));
#ifndef _WIN32
    fs::create_symlink("/dev/null", temp / "null.dat");
    // A reader is there, so that a save that wrongly went ahead would not wait for one.
    ASSERT_EQ(mkfifo((temp / "pipe.txt").c_str(), 0600), 0);
    reader_ = open((temp / "pipe.txt").c_str(), O_RDONLY | O_NONBLOCK);
#endif
  }
  void TearDown() override {
#ifndef _WIN32
    close(reader_);
#endif
  }

  test::TempDir temp;
  int reader_ = -1;
};

// The names each loader takes (the last three characters, case and all), and what it says of
// a file read, cut short, refused or missing. A refusal leaves the data and the display alone.
TEST_F(HenkanFormTest, Loads) {
  const std::u16string wrongData = U("拡張子が違います、正規のファイルを選択してください");
  const std::u16string wrongSizes = U("文字サイズ設定データを選択してください");
  const std::u16string choose = U("ファイルを選択してください");
  struct Row {
    Handler handler;
    const char* name;
    const char* folder;  // of tests/data; "" for the test's own
    bool taken;          // the name; then the file is read, and the caption says so
    std::u16string status;
    std::optional<std::u16string> shown;  // nothing: the display and the data stay
  };
  const Row rows[] = {
      {kOpen, "example1.dat", "runs", true, kRead, Shown("runs/example1.dat")},
      {kSizes, "sizes.qdc", "runs", true, kRead, Shown("runs/sizes.qdc")},
      {kOpen, "blank_lines.dat", "hostile", true, kRead, Shown("hostile/blank_lines.dat")},
      {kSizes, "sizes_52.qdc", "hostile", true, msg::kSizeItemsOverflow,
       Shown("hostile/sizes_52.qdc")},
      {kOpen, "long.dat", "", true, msg::kTooManyLines, U(Numbered(1199))},
      {kOpen, "lead_byte_at_line_end.dat", "hostile", true, U("3行目: ") + msg::kNotCp932, {}},
      {kOpen, "x.VZM", "", true, msg::kFileNotFound, {}},
      {kOpen, "xtxt", "", true, msg::kFileNotFound, {}},
      {kOpen, "x.Dat", "", false, wrongData, {}},
      {kOpen, "x.qdc", "", false, wrongData, {}},
      {kOpen, "at", "", false, wrongData, {}},
      {kOpen, "", "", false, choose, {}},
      {kSizes, "x.QDC", "", true, msg::kFileNotFound, {}},
      {kSizes, "qdc", "", true, msg::kFileNotFound, {}},
      {kSizes, "x.Qdc", "", false, wrongSizes, {}},
      {kSizes, "x.dat", "", false, wrongSizes, {}},
      {kSizes, "", "", false, choose, {}},
#ifndef _WIN32
      // A device or a pipe would block the window: refused before it is opened.
      {kOpen, "null.dat", "", true, msg::kNotRegularFile, {}},
#endif
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Session s(temp);
    s.Load(kSizes, "runs/sizes.qdc");
    s.Load(kOpen, "runs/example1.dat");
    const HenkanForm::DataLineArray lines = s.form.DataLines();
    const SizeItems sizes = s.form.Sizes();
    s.window.display = u"shown before";
    s.Forget();
    s.Click(row.handler, row.name, *row.folder ? DataPath(row.folder) : fs::path());
    EXPECT_EQ(s.window.statuses,
              (row.taken ? Texts{U(row.name) + U("を読み込み中"), row.status} : Texts{row.status}));
    EXPECT_EQ(s.window.captions, (row.taken ? Texts{kReading, kIdle} : Texts{}));
    EXPECT_EQ(s.window.display, row.shown.value_or(u"shown before"));
    if (!row.shown) {
      EXPECT_TRUE(s.form.DataLines() == lines);
      EXPECT_EQ(s.form.Sizes(), sizes);
    }
  }
}

// A file loaded replaces all that the one before left: no line or size of a longer file is
// carried into the next conversion.
TEST_F(HenkanFormTest, LoadsForgetTheFileBefore) {
  Session s(temp);
  s.Load(kOpen, "runs/example1.dat");
  s.Load(kSizes, "hostile/sizes_52.qdc");
  s.Load(kOpen, "hostile/empty.dat");
  s.Load(kSizes, "runs/sizes.qdc");
  for (const std::u16string& line : s.form.DataLines()) ASSERT_EQ(line, u"");
  EXPECT_EQ(s.form.Sizes()[19], u"9.6");
  EXPECT_EQ(s.form.Sizes()[20], u"");
}

// Converting what was loaded: the document, or why not. Without sizes or QD data only the
// status line says why and the caption keeps what was tried; data beyond the macro names its
// line, and the caption goes back. The boxes are emptied either way.
TEST_F(HenkanFormTest, Converts) {
  std::u16string document = Shown("runs/example1.expected");
  document.resize(document.size() - 2);  // the CR LF that saving adds
  struct Row {
    const char* sizes;  // in tests/data, loaded first if any
    const char* data;
    std::u16string status;
    bool idle;
    std::u16string shown;
  };
  const Row rows[] = {
      {"runs/sizes.qdc", "runs/example1.dat", U("変換終了"), true, document},
      {nullptr, "runs/example1.dat", msg::kNoSizeData, false, u""},
      {"runs/sizes.qdc", "hostile/empty.dat", msg::kNotQdData, false, u""},
      {"runs/sizes.qdc", "hostile/size_number_42.dat", U("3行目: ") + msg::kSizeNumberOutOfRange,
       true, u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.data);
    Session s(temp);
    if (row.sizes) s.Load(kSizes, row.sizes);
    s.Load(kOpen, row.data);
    const std::u16string name = s.window.fileName;
    s.Forget();
    s.form.DatCh_Click();
    EXPECT_EQ(s.window.statuses, (Texts{name + U("をデータの変換中"), row.status}));
    Texts captions{name + U("データの変換中")};
    if (row.idle) captions.push_back(kIdle);
    EXPECT_EQ(s.window.captions, captions);
    EXPECT_EQ(s.window.display, row.shown);
    EXPECT_EQ(s.window.fileName, u"");
  }
}

// Saving the display: the names taken, a pipe refused before anything is written (it would
// block the window), a failed write reported with the caption back. The file list is filled
// again after a save; a refusal leaves every file as it was.
TEST_F(HenkanFormTest, Saves) {
  const std::u16string wrongName =
      U("拡張子が違います、ファイルの拡張子を、dat・qdc・txtに変更してください");
  struct Row {
    const char* name;
    bool taken;
    std::u16string status;
  };
  // clang-format off
  const Row rows[] = {
      {"out.txt", true, kSaved}, {"x.QDC", true, kSaved}, {"xdat", true, kSaved},
      {"x.vzm", false, wrongName}, {"y.Txt", false, wrongName},
      {"", false, U("保存するファイル名を入力、又は選択してください")},
      {"nodir/x.txt", true, msg::kFolderNotFound},
#ifndef _WIN32
      {"pipe.txt", false, msg::kCannotSaveToPipe},
#endif
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Session s(temp);
    s.window.display = u"vzm\r\nend";
    const auto before = temp.Names();
    s.Click(&HenkanForm::DatSave_Click, row.name);
    EXPECT_EQ(s.window.statuses, (Texts{u"", row.status}));
    EXPECT_EQ(s.window.captions, (row.taken ? Texts{U("データ書き込み中"), kIdle} : Texts{}));
    EXPECT_EQ(s.window.refreshes, row.status == kSaved ? 1 : 0);
    if (row.status == kSaved) {
      EXPECT_EQ(test::ReadBytes(temp / row.name), "vzm\r\nend\r\n");
    } else {
      EXPECT_EQ(temp.Names(), before);
    }
  }
}

// A handler that fails where nothing should says so, in words for running out of memory, and
// gives the caption back.
TEST_F(HenkanFormTest, UnexpectedFailuresAreReported) {
  const auto outOfMemory = std::make_exception_ptr(std::bad_alloc());
  const auto other = std::make_exception_ptr(std::runtime_error("boom"));
  const std::u16string noMemory = U("メモリーが足りません");
  const std::u16string unexpected = U("予期しないエラーが起きました（boom）");
  struct Row {
    Handler handler;
    std::exception_ptr failure;
    std::u16string status;
  };
  const Row rows[] = {{kOpen, outOfMemory, noMemory},
                      {kSizes, other, unexpected},
                      {&HenkanForm::DatCh_Click, other, unexpected},
                      {&HenkanForm::DatSave_Click, outOfMemory, noMemory}};
  for (const Row& row : rows) {
    Session s(temp);
    s.window.failure = row.failure;
    (s.form.*row.handler)();
    EXPECT_EQ(s.window.Status(), row.status);
    EXPECT_EQ(s.window.captions, Texts{kIdle});
  }
}

// The window asks for a command at start and takes a name clicked in the list. Erase keeps
// what the display showed for one redisplay; the name does not come back.
TEST_F(HenkanFormTest, StartClickEraseRedisplay) {
  Session s(temp);
  s.form.Form_Load();
  s.form.File1_Click(u"破線.dat");
  EXPECT_EQ(s.window.fileName, u"破線.dat");
  s.window.display = u"text\r\n";
  s.form.Erase_Click();
  EXPECT_EQ(s.window.display, u"");
  EXPECT_EQ(s.window.fileName, u"");
  s.form.hyouji_Click();
  EXPECT_EQ(s.window.display, u"text\r\n");
  s.form.hyouji_Click();
  EXPECT_EQ(s.window.display, u"");
  EXPECT_EQ(s.window.fileName, u"");
  const std::u16string again = U("再表示しました");
  EXPECT_EQ(s.window.statuses,
            (Texts{U("作業（コマンド）を選択してください"), U("消去しました"), again, again}));
  EXPECT_EQ(s.window.captions, Texts{});
}

// Dropped files: the lists move to the first one's folder and it is loaded by the button its
// name calls for; the status line says in the same message that the others were left alone.
// A folder, or a file whose folder cannot be shown, is refused with the lists where they were.
TEST_F(HenkanFormTest, Drops) {
  const fs::path runs = DataPath("runs");
  const std::u16string here = temp.path().u16string();
  struct Row {
    std::vector<fs::path> paths;
    std::u16string status, fileName, directory, display;
  };
  const std::u16string before = u"before";
  // clang-format off
  const Row rows[] = {
      {{runs / "example1.dat"}, kRead, u"example1.dat", runs.u16string(), Shown("runs/example1.dat")},
      {{runs / "sizes.qdc", runs / "example1.dat"},
       kRead + U("（ドロップされた2個のファイルのうち、最初の1個だけを扱いました）"), u"sizes.qdc",
       runs.u16string(), Shown("runs/sizes.qdc")},
      {{runs}, U("フォルダは開けません、ファイルをドロップしてください"), before, here, before},
      {{temp / "gone/x.dat"}, U("ドロップされたファイルのフォルダを開けません"), before, here, before},
      {{}, u"", before, here, before},
  };
  // clang-format on
  Session s(temp);  // one form throughout: the note of a drop does not outlive it
  for (const Row& row : rows) {
    SCOPED_TRACE(row.paths.empty() ? "nothing" : test::Utf8Name(row.paths.front()));
    s.window.directory = here;
    s.window.fileName = s.window.display = before;
    s.Forget();
    std::vector<std::u16string> paths;
    for (const fs::path& path : row.paths) paths.push_back(path.u16string());
    s.form.Form_OLEDragDrop(paths);
    EXPECT_EQ(s.window.Status(), row.status);
    EXPECT_EQ(s.window.fileName, row.fileName);
    EXPECT_EQ(s.window.directory, row.directory);
    EXPECT_EQ(s.window.display, row.display);
  }
}

#ifndef _WIN32
// Without a code page 932 converter the window says so at start, and every load and save
// says so again.
TEST_F(HenkanFormTest, WithoutTheConverterEveryActionSaysSo) {
  detail::SetCp932ConverterName("NO-SUCH-CODE-PAGE");
  Session s(temp);
  s.form.Form_Load();
  s.Load(kOpen, "runs/example1.dat");
  s.Click(&HenkanForm::DatSave_Click, "out.txt");
  detail::SetCp932ConverterName("CP932");
  EXPECT_EQ(s.window.statuses, (Texts{msg::kNoCp932Converter, U("example1.datを読み込み中"),
                                      msg::kNoCp932Converter, u"", msg::kNoCp932Converter}));
  EXPECT_FALSE(fs::exists(temp / "out.txt"));
}
#endif

}  // namespace
}  // namespace qdvz
