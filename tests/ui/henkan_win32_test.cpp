// The Win32 window driven in-process, as a user would drive it: controls found by id, clicked
// with BM_CLICK or mouse messages, typed into with SetWindowTextW, read with GetWindowTextW.
// Runs under wine on a virtual display (./test --windows) or on Windows.
#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/run_qd2vz.h"
#include "support/temp_dir.h"
#include "ui/win32/henkan_window.h"
#include "ui/win32/resource.h"

namespace qdvz::win32 {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::Utf8Path;

std::wstring Text(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)), L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), int(text.size()) + 1)));
  return text;
}

std::wstring ListItem(HWND list, LRESULT index, bool combo = false) {
  const LRESULT length =
      SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return L"(none)";
  std::wstring text(static_cast<size_t>(length), L'\0');
  SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  return text;
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
    items.push_back(ListItem(list, i));
  }
  return items;
}

std::wstring FromCodePage932(const std::string& bytes) {
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(
      MultiByteToWideChar(932, 0, bytes.data(), int(bytes.size()), text.data(), int(text.size()))));
  return text;
}

std::u16string U16(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

// An HDROP as Explorer hands it over: a DROPFILES header, then the wide paths, each ended by
// a NUL, and one more NUL.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  size_t characters = 1;
  for (const std::wstring& path : paths) characters += path.size() + 1;
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* at = reinterpret_cast<wchar_t*>(header + 1);
  for (const std::wstring& path : paths) at = std::copy(path.begin(), path.end(), at) + 1;
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// Takes the buttons' WM_COMMAND away from the window and notes which one was clicked.
LRESULT CALLBACK NoteClicks(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR clicked) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    *reinterpret_cast<int*>(clicked) = LOWORD(wParam);
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

class HenkanWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"sizes.qdc", "sample.dat"}) {
      fs::copy_file(Utf8Path(QDVZ_SOURCE_DIR "/examples/") / name, dir_ / name);
    }
    fs::create_directory(dir_ / "sub");
    test::WriteBytes(dir_ / "sub/a.txt", "");
    test::WriteBytes(dir_ / "notes.bin", "");
    Open();
  }
  void TearDown() override {
    window_.reset();
    Drain();
  }

  // The lists open in the working directory; the tests' own must stay as it was, since qd2vz
  // is found from it.
  void Open() {
    const fs::path before = fs::current_path();
    fs::current_path(dir_.path());
    window_ = HenkanWindow::Create(GetModuleHandleW(nullptr));
    fs::current_path(before);
    ASSERT_TRUE(window_);
    ShowWindow(window_->Handle(), SW_SHOW);
    PumpMessages(*window_, 50);
  }
  // Everything left in the queue, the WM_QUIT of a closed window too.
  static void Drain() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  HWND Control(ControlId id) const { return window_->Control(id); }
  std::wstring TextOf(ControlId id) const { return Text(Control(id)); }
  void Type(ControlId id, const wchar_t* text) { SetWindowTextW(Control(id), text); }
  void Click(ControlId id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
  // A mouse click on a list entry, double when asked.
  void ClickEntry(ControlId id, const wchar_t* entry, bool twice = false) {
    const HWND list = Control(id);
    const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(entry));
    ASSERT_NE(index, LB_ERR) << "no entry " << fs::path(entry).string();
    RECT box;
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&box));
    const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    if (twice) {
      SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      SendMessageW(list, WM_LBUTTONUP, 0, at);
    }
  }
  // A key as the message loop gets it, given to the dialog keys first.
  void Key(UINT message, WPARAM key) {
    const HWND focus = GetFocus();
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(UINT(key), MAPVK_VK_TO_VSC)) << 16;
    MSG msg{};
    msg.hwnd = focus ? focus : window_->Handle();
    msg.message = message;
    msg.wParam = key;
    msg.lParam = message == WM_SYSCHAR ? LPARAM(1) << 29 : 1 | scanCode;
    if (!window_->PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  std::vector<std::wstring> Files() const { return ListItems(Control(ControlId::File1)); }
  bool Listed(const wchar_t* name) const {
    const std::vector<std::wstring> files = Files();
    return std::find(files.begin(), files.end(), name) != files.end();
  }
  std::wstring Folder() const {
    const std::u16string folder = window_->DirectoryPath();
    return std::wstring(folder.begin(), folder.end());
  }

  test::TempDir dir_;
  std::unique_ptr<HenkanWindow> window_;
};

TEST_F(HenkanWin32Test, ControlsAreAsLaidOut) {
  struct Row {
    ControlId id;
    const wchar_t* className;
    const wchar_t* caption;  // buttons and the label
    const wchar_t* tip;
    wchar_t key;  // Alt+key clicks the button or, for the label, focuses FileName
    int left, top, width, height;
    int centipoints;  // of "ＭＳ ゴシック"; 0 for the system's message font
  };
  const Row rows[] = {
      {ControlId::Drive1, L"ComboBox", nullptr, nullptr, 0, 120, 720, 2535, 300, 0},
      {ControlId::Dir1, L"ListBox", nullptr, nullptr, 0, 120, 1080, 2535, 1560, 0},
      {ControlId::File1, L"ListBox", nullptr, nullptr, 0, 2760, 720, 2895, 1845, 1006},
      {ControlId::DisplayBox, L"Edit", nullptr, nullptr, 0, 120, 2760, 8175, 3135, 1084},
      {ControlId::FileName, L"Edit", nullptr, L"ファイル名を入力してください", 0, 1440, 240, 2655,
       270, 929},
      {ControlId::Label1, L"Static", L"ファイル名(&N)  ：", nullptr, L'N', 120, 240, 1335, 255, 0},
      {ControlId::Erase, L"Button", L"消去(&E)", L"表示を消去します", L'E', 5880, 1680, 1095, 375,
       0},
      {ControlId::DatOpen, L"Button", L"開く(&O)", L"ファイルを開きます", L'O', 5880, 720, 1095,
       375, 0},
      {ControlId::DatCh, L"Button", L"QD→VZ", L"データを変換します", 0, 7080, 1200, 1095, 375, 0},
      {ControlId::DatSave, L"Button", L"保存(&S)", L"保存します", L'S', 7080, 720, 1095, 375, 0},
      {ControlId::Exit, L"Button", L"終了(&X)", L"プログラムを終了します", L'X', 7080, 2160, 1095,
       375, 0},
      {ControlId::dbox, L"Edit", nullptr, nullptr, 0, 120, 6000, 8175, 270, 0},
      {ControlId::datopen1, L"Button", L"文字ｻｲｽﾞ", L"文字データを読みこみます", 0, 5880, 1200,
       1095, 375, 0},
      {ControlId::hyouji, L"Button", L"再表示", L"直前に消去されたデータを再表示します", 0, 7080,
       1680, 1095, 375, 0},
  };
  const HWND window = window_->Handle();
  const int dpi = static_cast<int>(GetDpiForWindow(window));
  auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, px(8460));
  EXPECT_EQ(client.bottom, px(6345));
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, UINT(dpi));
  int clicked = 0;
  SetWindowSubclass(window, NoteClicks, 1, reinterpret_cast<DWORD_PTR>(&clicked));

  HWND next = GetWindow(window, GW_CHILD);  // creation order, which is tab order
  for (const Row& row : rows) {
    const HWND control = Control(row.id);
    SCOPED_TRACE(static_cast<int>(row.id));
    ASSERT_TRUE(control);
    EXPECT_EQ(control, next);
    next = GetWindow(next, GW_HWNDNEXT);
    EXPECT_EQ(GetDlgCtrlID(control), static_cast<int>(row.id));
    wchar_t className[32] = L"";
    GetClassNameW(control, className, 32);
    EXPECT_EQ(lstrcmpiW(className, row.className), 0) << fs::path(className).string();
    EXPECT_EQ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0, row.id != ControlId::Label1);
    if (row.caption) {
      EXPECT_EQ(Text(control), row.caption);
    }

    wchar_t tip[128] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tip;
    SendMessageW(window_->Tooltips(), TTM_GETTEXTW, std::size(tip),
                 reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(tip), row.tip ? row.tip : L"");

    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, px(row.left));
    EXPECT_EQ(box.top, px(row.top));
    EXPECT_EQ(box.right - box.left, px(row.width));
    EXPECT_EQ(box.bottom - box.top, px(row.height));

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    if (row.centipoints) {
      EXPECT_EQ(std::wstring(font.lfFaceName), L"ＭＳ ゴシック");
      EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
      EXPECT_EQ(font.lfWeight, FW_NORMAL);
      EXPECT_EQ(font.lfHeight, -MulDiv(row.centipoints, dpi, 7200));
    } else {
      EXPECT_EQ(std::wstring(font.lfFaceName), metrics.lfMessageFont.lfFaceName);
      EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    }

    if (row.key) {
      SetFocus(Control(ControlId::Drive1));
      clicked = 0;
      Key(WM_SYSCHAR, towlower(row.key));
      if (row.id == ControlId::Label1) {
        EXPECT_EQ(GetFocus(), Control(ControlId::FileName));
      } else {
        EXPECT_EQ(clicked, static_cast<int>(row.id));
      }
    }
  }
  EXPECT_EQ(next, nullptr);
  RemoveWindowSubclass(window, NoteClicks, 1);
}

TEST_F(HenkanWin32Test, TabGoesRoundInTabOrderWithoutTypingTabs) {
  const ControlId order[] = {
      ControlId::Dir1,   ControlId::File1,   ControlId::DisplayBox, ControlId::FileName,
      ControlId::Erase,  ControlId::DatOpen, ControlId::DatCh,      ControlId::DatSave,
      ControlId::Exit,   ControlId::dbox,    ControlId::datopen1,   ControlId::hyouji,
      ControlId::Drive1,
  };
  SetFocus(Control(ControlId::Drive1));
  for (ControlId id : order) {
    Key(WM_KEYDOWN, VK_TAB);
    PumpMessages(*window_, 0);  // the characters Tab made, if any
    EXPECT_EQ(GetFocus(), Control(id)) << static_cast<int>(id);
  }
  EXPECT_EQ(TextOf(ControlId::DisplayBox), L"");
  EXPECT_EQ(TextOf(ControlId::dbox), L"作業（コマンド）を選択してください");
}

TEST_F(HenkanWin32Test, WholeRoadSavesWhatQd2vzWrites) {
  Type(ControlId::FileName, L"sizes.qdc");
  Click(ControlId::datopen1);
  EXPECT_EQ(TextOf(ControlId::dbox), L"読み込み完了");
  EXPECT_EQ(TextOf(ControlId::DisplayBox), FromCodePage932(ReadBytes(dir_ / "sizes.qdc")));

  ClickEntry(ControlId::File1, L"sample.dat");
  EXPECT_EQ(TextOf(ControlId::FileName), L"sample.dat");
  Click(ControlId::DatOpen);
  EXPECT_EQ(TextOf(ControlId::dbox), L"読み込み完了");
  EXPECT_EQ(TextOf(ControlId::DisplayBox), FromCodePage932(ReadBytes(dir_ / "sample.dat")));

  Click(ControlId::DatCh);
  EXPECT_EQ(TextOf(ControlId::dbox), L"変換終了");
  EXPECT_EQ(Text(window_->Handle()), L"線変形データ変換");
  EXPECT_EQ(TextOf(ControlId::FileName), L"");
  const std::wstring document = TextOf(ControlId::DisplayBox);

  Type(ControlId::FileName, L"out.txt");
  Click(ControlId::DatSave);
  EXPECT_EQ(TextOf(ControlId::dbox), L"保存が完了しました");
  EXPECT_TRUE(Listed(L"out.txt"));  // at once, before any folder change
  const test::Qd2vzResult qd2vz = test::RunQd2vz(dir_, "-s sizes.qdc sample.dat");
  ASSERT_EQ(qd2vz.status, 0) << qd2vz.err;
  EXPECT_EQ(ReadBytes(dir_ / "out.txt"), qd2vz.out);

  Click(ControlId::Erase);
  EXPECT_EQ(TextOf(ControlId::DisplayBox), L"");
  EXPECT_EQ(TextOf(ControlId::dbox), L"消去しました");
  Click(ControlId::hyouji);
  EXPECT_EQ(TextOf(ControlId::DisplayBox), document);
  EXPECT_EQ(TextOf(ControlId::dbox), L"再表示しました");
}

TEST_F(HenkanWin32Test, LoadsA1199LineFileWhole) {
  std::string lines = "999\r\n";
  for (int i = 2; i <= 1199; ++i) lines += std::to_string(i) + std::string(60, ' ') + "x\r\n";
  test::WriteBytes(dir_ / "long.dat", lines);
  Type(ControlId::FileName, L"long.dat");
  Click(ControlId::DatOpen);
  EXPECT_EQ(TextOf(ControlId::dbox), L"読み込み完了");
  EXPECT_EQ(TextOf(ControlId::DisplayBox), FromCodePage932(lines));
  // and still takes typing beyond the 32K characters an edit box allows unless told otherwise.
  const HWND box = Control(ControlId::DisplayBox);
  const int end = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, WPARAM(end), end);
  SendMessageW(box, WM_CHAR, L'y', 1);
  EXPECT_EQ(TextOf(ControlId::DisplayBox), FromCodePage932(lines) + L"y");
}

TEST_F(HenkanWin32Test, DisplayBoxGivesBackCrLfText) {
  struct Row {
    std::u16string in, out;
  };
  const Row rows[] = {
      {u"", u""},
      {u"a", u"a"},
      {u"\r\n\r\na\r\n\r\n", u"\r\n\r\na\r\n\r\n"},
      {u"ＱＤ→ＶＺ 破線\u00A0\t\r\n", u"ＱＤ→ＶＺ 破線\u00A0\t\r\n"},
      {u"a\nb\n", u"a\r\nb\r\n"},
      {u"a\rb\r", u"a\r\nb\r\n"},
  };
  for (const Row& row : rows) {
    window_->SetDisplayText(row.in);
    EXPECT_EQ(window_->DisplayText(), row.out) << test::Utf8Name(fs::path(row.out));
  }
}

TEST_F(HenkanWin32Test, DroppedFileOpensFromItsFolder) {
  fs::create_directory(dir_ / "drop");
  for (const char* name : {"sizes.qdc", "sample.dat"}) {
    fs::copy_file(dir_ / name, dir_ / "drop" / name);
  }
  test::WriteBytes(dir_ / "drop/other.txt", "");
  const std::wstring drop = (dir_ / "drop").wstring();
  const std::wstring here = Folder();
  const std::vector<std::wstring> dropFiles = {L"other.txt", L"sample.dat", L"sizes.qdc"};
  struct Row {
    std::vector<std::wstring> paths;
    const wchar_t* status;
    const wchar_t* fileName;
    std::wstring folder;
  };
  const Row rows[] = {
      {{drop + L"\\sample.dat"}, L"読み込み完了", L"sample.dat", drop},
      {{drop + L"\\sizes.qdc", drop + L"\\sample.dat"},
       L"読み込み完了（ドロップされた2個のファイルのうち、最初の1個だけを扱いました）",
       L"sizes.qdc",
       drop},
      {{here + L"\\sub"}, L"フォルダは開けません、ファイルをドロップしてください", L"", here},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(fs::path(row.paths.front()).string());
    ASSERT_TRUE(window_->SetDirectoryPath(U16(here)));
    Type(ControlId::FileName, L"");
    SendMessageW(window_->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(row.paths)), 0);
    EXPECT_EQ(TextOf(ControlId::dbox), row.status);
    EXPECT_EQ(TextOf(ControlId::FileName), row.fileName);
    EXPECT_EQ(Folder(), row.folder);
    EXPECT_EQ(Files() == dropFiles, row.folder == drop);
  }
}

TEST_F(HenkanWin32Test, FileListFollowsTheFolder) {
  ClickEntry(ControlId::File1, L"sizes.qdc");
  // Files made or removed by others show through the folder watch of the message loop.
  auto within5s = [&](auto condition) {
    for (int waited = 0; waited < 5000 && !condition(); waited += 50) PumpMessages(*window_, 50);
    return condition();
  };
  test::WriteBytes(dir_ / "added.dat", "999\r\n");
  EXPECT_TRUE(within5s([&] { return Listed(L"added.dat"); }));
  fs::remove(dir_ / "added.dat");
  EXPECT_TRUE(within5s([&] { return !Listed(L"added.dat"); }));
  const HWND file1 = Control(ControlId::File1);
  EXPECT_EQ(ListItem(file1, SendMessageW(file1, LB_GETCURSEL, 0, 0)), L"sizes.qdc");
}

TEST_F(HenkanWin32Test, BrowserStartsHereAndFollowsDriveAndFolder) {
  const std::wstring here = dir_.path().wstring();
  EXPECT_EQ(Text(window_->Handle()), L"ＱＤ→ＶＺ線変形データ変換");
  EXPECT_EQ(TextOf(ControlId::dbox), L"作業（コマンド）を選択してください");
  EXPECT_EQ(Folder(), here);
  EXPECT_EQ(Files(), (std::vector<std::wstring>{L"sample.dat", L"sizes.qdc"}));
  const HWND drive1 = Control(ControlId::Drive1);
  const std::wstring drive = {L'[', L'-', static_cast<wchar_t>(towlower(here[0])), L'-', L']'};
  EXPECT_EQ(ListItem(drive1, SendMessageW(drive1, CB_GETCURSEL, 0, 0), true), drive);

  ClickEntry(ControlId::Dir1, L"sub", true);
  EXPECT_EQ(Folder(), here + L"\\sub");
  EXPECT_EQ(Files(), std::vector<std::wstring>{L"a.txt"});
  // Enter on the entry of the folder above goes back up.
  ClickEntry(ControlId::Dir1, fs::path(here).filename().c_str());
  SetFocus(Control(ControlId::Dir1));
  Key(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(Folder(), here);

  // Another drive opens in its working folder, its root unless one was set.
  LRESULT other = 0;
  while (ListItem(drive1, other, true) == drive) ++other;
  SendMessageW(drive1, CB_SETCURSEL, static_cast<WPARAM>(other), 0);
  SendMessageW(window_->Handle(), WM_COMMAND,
               MAKEWPARAM(static_cast<int>(ControlId::Drive1), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(drive1));
  EXPECT_EQ(towlower(Folder()[0]), ListItem(drive1, other, true)[2]);
  EXPECT_EQ(SendMessageW(drive1, CB_GETCURSEL, 0, 0), other);
}

TEST_F(HenkanWin32Test, IconHas32And16PixelImagesOf16Colours) {
#pragma pack(push, 2)
  struct Entry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(QDVZ_HENKAN_ICON), RT_GROUP_ICON);
  ASSERT_TRUE(found);
  const auto* group = static_cast<const WORD*>(LockResource(LoadResource(nullptr, found)));
  const auto* entries = reinterpret_cast<const Entry*>(group + 3);
  std::vector<std::vector<int>> images;
  for (WORD i = 0; i < group[2]; ++i) {
    images.push_back({entries[i].width, entries[i].height, entries[i].colours, entries[i].bits});
  }
  std::sort(images.begin(), images.end());
  EXPECT_EQ(images, (std::vector<std::vector<int>>{{16, 16, 16, 4}, {32, 32, 16, 4}}));
  EXPECT_TRUE(GetClassLongPtrW(window_->Handle(), GCLP_HICON));
  EXPECT_TRUE(GetClassLongPtrW(window_->Handle(), GCLP_HICONSM));
}

TEST_F(HenkanWin32Test, ExitAndTheCloseBoxEndTheProgram) {
  for (bool closeBox : {false, true}) {
    if (closeBox) Open();
    SCOPED_TRACE(closeBox ? "close box" : "Exit");
    if (closeBox) {
      SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
    } else {
      SetFocus(Control(ControlId::DisplayBox));
      Key(WM_SYSCHAR, L'x');  // Exit's access key
    }
    EXPECT_EQ(window_->Handle(), nullptr);
    EXPECT_FALSE(PumpMessages(*window_, 1000));  // WM_QUIT
  }
}

}  // namespace
}  // namespace qdvz::win32
