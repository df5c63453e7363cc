// The window's handlers against a fake window: what the status line and the caption say for
// every outcome, and what a refusal leaves alone. Faults of the conversion and of the files
// themselves are the engine's and qd2vz's tests; one row of each kind shows how the window
// reports it.
#include "ui/henkan_form.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "convert/messages.h"
#include "cp932/cp932_runs.h"
#include "fake_window.h"
#include "io/io_messages.h"
#include "support/data.h"
#include "support/temp_dir.h"
#include "support/text.h"
#include "ui/file_path.h"
#include "ui/ui_messages.h"

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
    std::string name;
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
      // A typed path: a whole one as it is, one holding folders from the folder shown.
      {kSizes, test::Utf8Name(DataPath("runs/sizes.qdc")), "", true, kRead,
       Shown("runs/sizes.qdc")},
      {kOpen, "runs/example1.dat", ".", true, kRead, Shown("runs/example1.dat")},
      {kOpen, "../runs/example1.dat", "hostile", true, kRead, Shown("runs/example1.dat")},
      {kSizes, test::Utf8Name(DataPath("runs/sizes.qdc.bak")), "", false, wrongSizes, {}},
#ifndef _WIN32
      // A device or a pipe would block the window: refused before it is opened.
      {kOpen, "null.dat", "", true, msg::kNotRegularFile, {}},
#else
      {kOpen, "con.dat", "", true, msg::kNotRegularFile, {}},
      {kSizes, "nul.qdc", "", true, msg::kNotRegularFile, {}},
#endif
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Session s(temp);
    s.Load(kSizes, "runs/sizes.qdc");
    s.Load(kOpen, "runs/example1.dat");
    const std::string lines = s.form.DataLines();
    const SizeItems sizes = s.form.Sizes();
    s.window.display = u"shown before";
    s.Forget();
    s.Click(row.handler, row.name, *row.folder ? DataPath(row.folder) : fs::path());
    EXPECT_EQ(s.window.statuses,
              (row.taken ? Texts{U(row.name) + U("を読み込み中"), row.status} : Texts{row.status}));
    EXPECT_EQ(s.window.captions, (row.taken ? Texts{kReading, kIdle} : Texts{}));
    EXPECT_EQ(s.window.display, row.shown.value_or(u"shown before"));
    if (!row.shown) {
      EXPECT_EQ(s.form.DataLines(), lines);
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
  EXPECT_EQ(s.form.DataLines(), "");
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

// Every regular file of a folder and its bytes.
std::map<std::string, std::string> Files(const test::TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    if (entry.is_regular_file())
      files[test::Utf8Name(entry.path().filename())] = test::ReadBytes(entry);
  }
  return files;
}

// Saving the display: the names taken, a pipe or a device refused before anything is written
// (a pipe would block the window, a device loses the text), a failed write reported with the
// caption back. A file the window has loaded is replaced only when the user says yes to a
// question that names it, whatever name the save reaches it by; any other file is replaced
// without asking. The file list is filled again after a save; a refusal or a no leaves every
// file, the display and the caption as they were.
TEST_F(HenkanFormTest, Saves) {
  const std::u16string wrongName =
      U("拡張子が違います、ファイルの拡張子を、dat・qdc・txtに変更してください");
  const std::u16string no = U("保存しませんでした（読み込んだファイルはそのままです）");
  const std::u16string data = SelectedFilePath(temp.path().u16string(), u"loaded data.dat");
  const std::u16string sizes = SelectedFilePath(temp.path().u16string(), u"sizes.qdc");
  const std::u16string device = msg::kCannotSaveToDevice;
  struct Row {
    std::string name;
    bool taken;  // the caption says it writes
    std::u16string status;
    const std::u16string* asks = nullptr;  // the loaded file the question names
    bool yes = false;
  };
  // clang-format off
  const Row rows[] = {
      {"out.txt", true, kSaved}, {"x.QDC", true, kSaved}, {"xdat", true, kSaved},
      {"other.txt", true, kSaved},
      {"x.vzm", false, wrongName}, {"y.Txt", false, wrongName},
      {"", false, U("保存するファイル名を入力、又は選択してください")},
      {"nodir/x.txt", true, msg::kFolderNotFound},
      {std::string(300, 'x') + ".txt", true, msg::kNameTooLong},
      {"loaded data.dat", false, no, &data}, {"loaded data.dat", true, kSaved, &data, true},
      {"sizes.qdc", false, no, &sizes}, {"sizes.qdc", true, kSaved, &sizes, true},
      {"link.dat", false, no, &data}, {"link.dat", true, kSaved, &data, true},
#ifndef _WIN32
      {"pipe.txt", false, msg::kCannotSaveToPipe},
      {"null.dat", false, device},
#else
      {"LOADED DATA.DAT", false, no, &data}, {"<short name>", false, no, &data},
      {"..\\" + test::Utf8Name(temp.path().filename()) + "\\loaded data.dat", false, no, &data},
      {"nul.txt", false, device}, {"con.txt", false, device}, {"CON .txt", false, device},
      {"aux.dat", false, device}, {"prn.TXT", false, device}, {"com1.txt", false, device},
      {"lpt9.qdc", false, device},
#endif
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::WriteBytes(temp / "loaded data.dat", test::ReadBytes(DataPath("runs/example1.dat")));
    test::WriteBytes(temp / "sizes.qdc", test::ReadBytes(DataPath("runs/sizes.qdc")));
    test::WriteBytes(temp / "other.txt", "other");
    fs::remove(temp / "link.dat");
#ifndef _WIN32
    fs::create_symlink("loaded data.dat", temp / "link.dat");
    const std::string name = row.name;
#else
    fs::create_hard_link(temp / "loaded data.dat", temp / "link.dat");
    std::string name = row.name;
    if (name == "<short name>") {
      wchar_t shortPath[MAX_PATH];
      ASSERT_NE(GetShortPathNameW((temp / "loaded data.dat").c_str(), shortPath, MAX_PATH), 0u);
      name = test::Utf8Name(fs::path(shortPath).filename());
      ASSERT_NE(name, "loaded data.dat");
    }
#endif
    Session s(temp);
    s.Click(kSizes, "sizes.qdc");
    s.Click(kOpen, "loaded data.dat");
    s.window.display = u"vzm\r\nend";
    s.window.answer = row.yes;
    s.Forget();
    const auto before = Files(temp);
    s.Click(&HenkanForm::DatSave_Click, name);
    EXPECT_EQ(s.window.statuses, (Texts{u"", row.status}));
    EXPECT_EQ(s.window.captions, (row.taken ? Texts{U("データ書き込み中"), kIdle} : Texts{}));
    EXPECT_EQ(s.window.questions, row.asks ? Texts{ui_msg::ReplaceLoadedFile(*row.asks)} : Texts{});
    EXPECT_EQ(s.window.display, u"vzm\r\nend");
    EXPECT_EQ(s.window.refreshes, row.status == kSaved ? 1 : 0);
    if (row.status == kSaved) {
      EXPECT_EQ(test::ReadBytes(temp / name), "vzm\r\nend\r\n");
    } else {
      EXPECT_EQ(Files(temp), before);
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

// A dropped file: the lists move to its folder and it is loaded by the button its name calls
// for. A folder, or a file whose folder cannot be shown, is refused with the lists where they
// were.
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

// Several files dropped at once: the first size file of the set is loaded before anything is
// converted, then each QD file gets the very bytes qd2vz -d writes, in <stem>.txt beside it.
// No file of the set is replaced; outputs already there are replaced only after one yes. The
// display lists every file with its outcome, the status line counts them.
TEST_F(HenkanFormTest, DropsOfSeveralFilesConvertEach) {
  using Files = std::vector<std::pair<const char*, const char*>>;  // name, file of tests/data
  const char* old = "";                                            // a file holding "old"
  const std::u16string loaded = U("：文字サイズ設定データとして読み込みました");
  const std::u16string kept = U("：出力ファイルが既にあるため、変換しませんでした");
  const std::u16string input =
      U("：出力先が入力ファイルの一つなので、上書きせずに変換をやめました");
  const std::u16string noSizes = U("：") + msg::kNoSizeData;
  struct Row {
    const char* what;
    bool preload;  // runs/sizes.qdc loaded by its button before the drop
    Files files;
    std::vector<const char*> dropped;  // in the test's folder
    bool answer;
    Texts outcomes;  // after each dropped path
    std::u16string status;
    Texts questions;
    Files after;  // what the folder holds then besides the files made
  };
  const std::u16string replace =
      U("次の出力ファイルは既にあります。\na."
        "txt\n置き換えますか？（「いいえ」ならこれらの変換は行いません）");
  const Files two = {{"sizes.qdc", "runs/sizes.qdc"},
                     {"a.dat", "runs/example1.dat"},
                     {"b.DAT", "runs/codes_03_04.dat"}};
  const Files twoAndOld = {{"sizes.qdc", "runs/sizes.qdc"},
                           {"a.dat", "runs/example1.dat"},
                           {"a.txt", old},
                           {"b.DAT", "runs/codes_03_04.dat"}};
  // clang-format off
  const Row rows[] = {
      {"the size file first, wherever it is", false, two, {"a.dat", "sizes.qdc", "b.DAT"}, false,
       {U(" → a.txt"), loaded, U(" → b.txt")}, U("2個のファイルを変換しました、0個は変換しませんでした"), {},
       {{"a.txt", "runs/example1.expected"}, {"b.txt", "runs/codes_03_04.expected"}}},
      {"sizes loaded before", true, two, {"a.dat", "b.DAT"}, false,
       {U(" → a.txt"), U(" → b.txt")}, U("2個のファイルを変換しました、0個は変換しませんでした"), {},
       {{"a.txt", "runs/example1.expected"}, {"b.txt", "runs/codes_03_04.expected"}}},
      {"no sizes", false, two, {"a.dat", "b.DAT"}, false, {noSizes, noSizes},
       U("0個のファイルを変換しました、2個は変換しませんでした"), {}, {}},
      {"yes replaces", false, twoAndOld, {"sizes.qdc", "a.dat", "b.DAT"}, true,
       {loaded, U(" → a.txt"), U(" → b.txt")}, U("2個のファイルを変換しました、0個は変換しませんでした"),
       {replace}, {{"a.txt", "runs/example1.expected"}, {"b.txt", "runs/codes_03_04.expected"}}},
      {"no keeps", false, twoAndOld, {"sizes.qdc", "a.dat", "b.DAT"}, false,
       {loaded, kept, U(" → b.txt")}, U("1個のファイルを変換しました、1個は変換しませんでした"),
       {replace}, {{"a.txt", old}, {"b.txt", "runs/codes_03_04.expected"}}},
      {"inputs are never replaced", true, twoAndOld, {"a.dat", "a.txt", "b.DAT"}, true,
       {input, input, U(" → b.txt")}, U("1個のファイルを変換しました、2個は変換しませんでした"), {},
       {{"a.txt", old}, {"b.txt", "runs/codes_03_04.expected"}}},
      {"refused before reading", false,
       {{"sizes.qdc", "runs/sizes.qdc"}, {"sub", nullptr}, {"c.bin", old},
        {"e.vzm", "hostile/size_number_42.dat"}, {"more.QDC", "runs/sizes.qdc"}},
       {"sizes.qdc", "sub", "c.bin", "e.vzm", "more.QDC"}, false,
       {loaded, U("：フォルダーは変換しません"),
        U("：変換するファイルではありません（拡張子が dat・txt・vzm ではありません）"),
        U("：3行目: ") + msg::kSizeNumberOutOfRange,
        U("：文字サイズ設定データは最初の1個だけを使います（変換しませんでした）")},
       U("0個のファイルを変換しました、4個は変換しませんでした"), {}, {}},
      {"a size file that cannot be read", false, two, {"gone.qdc", "a.dat", "sizes.qdc"}, false,
       {U("：") + msg::kFileNotFound,
        U("：文字サイズ設定データを読み込めなかったため、変換しませんでした"),
        U("：文字サイズ設定データは最初の1個だけを使います（変換しませんでした）")},
       U("0個のファイルを変換しました、3個は変換しませんでした"), {}, {}},
      {"one stem, one output", false,
       {{"sizes.qdc", "runs/sizes.qdc"}, {"x.dat", "runs/example1.dat"}, {"x.vzm", "runs/codes_03_04.dat"}},
       {"sizes.qdc", "x.dat", "x.vzm"}, false,
       {loaded, U(" → x.txt"),
        U("：同じ名前の出力ファイルを、この中の別のファイルから書いたばかりです（上書きしませんでした）")},
       U("1個のファイルを変換しました、1個は変換しませんでした"), {},
       {{"x.txt", "runs/example1.expected"}}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    test::TempDir folder;
    for (const auto& [name, source] : row.files) {
      if (source == nullptr) {
        fs::create_directory(folder / name);
      } else {
        test::WriteBytes(folder / name, *source ? test::ReadBytes(DataPath(source)) : "old");
      }
    }
    Session s(temp);
    if (row.preload) s.Load(kSizes, "runs/sizes.qdc");
    s.window.answer = row.answer;
    s.Forget();
    std::vector<std::u16string> paths;
    std::u16string listing;
    for (size_t i = 0; i < row.dropped.size(); ++i) {
      paths.push_back((folder / row.dropped[i]).u16string());
      listing += (i ? u"\r\n" : u"") + paths.back() + row.outcomes.at(i);
    }
    s.form.Form_OLEDragDrop(paths);
    EXPECT_EQ(s.window.display, listing);
    EXPECT_EQ(s.window.statuses, Texts{row.status});
    EXPECT_EQ(s.window.captions, (Texts{U("データの変換中"), kIdle}));
    EXPECT_EQ(s.window.questions, row.questions);
    EXPECT_EQ(s.window.directory, folder.path().u16string());
    EXPECT_EQ(s.window.refreshes, 1);
    std::set<std::string> names;
    for (const auto& [name, source] : row.files) names.insert(name);
    for (const auto& [name, source] : row.after) {
      names.insert(name);
      EXPECT_EQ(test::ReadBytes(folder / name), *source ? test::ReadBytes(DataPath(source)) : "old")
          << name;
    }
    EXPECT_EQ(folder.Names(), names);
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
  s.Click(&HenkanForm::DatCh_Click, "example1.dat");  // the lines kept are decoded again
  detail::SetCp932ConverterName("CP932");
  EXPECT_EQ(s.window.statuses, (Texts{msg::kNoCp932Converter, U("example1.datを読み込み中"),
                                      msg::kNoCp932Converter, u"", msg::kNoCp932Converter,
                                      U("example1.datをデータの変換中"), msg::kNoCp932Converter}));
  EXPECT_EQ(s.window.caption, kIdle);
  EXPECT_FALSE(fs::exists(temp / "out.txt"));
}
#endif

}  // namespace
}  // namespace qdvz

namespace qdvz {
namespace {

// The browser chain, whichever toolkit shows it: a new folder moves the drive shown, the
// folder watch and the file list, with the name chosen in the folder before no longer chosen;
// a change inside the folder lists it again with the choice kept; a drive that cannot be shown
// leaves the lists, and the drive shown, where they were.
TEST(BrowserTest, ListsFollowTheFolder) {
  const test::TempDir temp;
  const std::u16string here = temp.path().u16string();
  const std::u16string missing = (temp.path() / "missing").u16string();
  struct Row {
    const char* what;
    Handler act;
    std::u16string chosenDrive;
    std::u16string directory, driveShown, watched, chosenFile;
    int refreshes;
  };
  const Row rows[] = {
      {"a new folder", &HenkanForm::Dir1_Change, u"", u"start", u"start", u"start", u"", 1},
      {"a change in the folder", &HenkanForm::RefreshFileList, u"", u"start", u"", u"", u"a.dat",
       1},
      {"a drive that is ready", &HenkanForm::Drive1_Change, here, here, u"", u"", u"a.dat", 0},
      {"a drive that is not ready", &HenkanForm::Drive1_Change, missing, u"start", u"start", u"",
       u"a.dat", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    test::FakeWindow window;
    HenkanForm form(window);
    window.directory = u"start";
    window.chosenFile = u"a.dat";
    window.chosenDrive = row.chosenDrive;
    (form.*row.act)();
    EXPECT_EQ(window.directory, row.directory);
    EXPECT_EQ(window.driveShown, row.driveShown);
    EXPECT_EQ(window.watched, row.watched);
    EXPECT_EQ(window.chosenFile, row.chosenFile);
    EXPECT_EQ(window.refreshes, row.refreshes);
  }
}

// Text from a file may end its lines in CR LF, a lone CR or a lone LF: the display box gets
// each as one CR LF, whichever toolkit shows it.
TEST(DisplayTest, EveryLineEndReachesTheBoxAsCrLf) {
  const std::pair<std::u16string, std::u16string> rows[] = {
      {u"", u""},
      {u"a\r\nb\r\n", u"a\r\nb\r\n"},
      {u"a\nb\rc", u"a\r\nb\r\nc"},
      {u"\n\r", u"\r\n\r\n"},
      {u"a\r\r\nb\n\n", u"a\r\n\r\nb\r\n\r\n"},
      {u"\r", u"\r\n"},
  };
  test::FakeWindow window;
  for (const auto& [in, out] : rows) {
    window.SetDisplayText(in);
    EXPECT_EQ(window.display, out) << ToUtf8(in);
  }
}

}  // namespace
}  // namespace qdvz
