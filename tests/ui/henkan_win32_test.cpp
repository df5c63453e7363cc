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
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/data.h"
#include "support/run_qd2vz.h"
#include "support/temp_dir.h"
#include "ui/win32/arguments_win.h"
#include "ui/win32/henkan_window.h"

namespace qdvz::win32 {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::wstring>;

std::wstring Text(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)), L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), int(text.size()) + 1)));
  return text;
}

std::wstring ListItem(HWND list, LRESULT index) {
  std::wstring text(static_cast<size_t>(std::max<LRESULT>(
                        SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0), 0)),
                    L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  return text;
}

// An HDROP as Explorer hands it over: a DROPFILES header, then the wide paths, each ended by
// a NUL, and one more NUL.
HDROP MakeDrop(const Names& paths) {
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
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
    return DefSubclassProc(window, message, wParam, lParam);
  }
  *reinterpret_cast<int*>(clicked) = LOWORD(wParam);
  return 0;
}

class HenkanWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"sizes.qdc", "sample.dat"}) {
      fs::copy_file(test::Utf8Path(QDVZ_SOURCE_DIR "/examples/") / name, dir_ / name);
    }
    fs::create_directory(dir_ / "sub");
    test::WriteBytes(dir_ / "sub/a.txt", "");
    test::WriteBytes(dir_ / "notes.bin", "");
    // Not listed: *.dat matches its short name X~1.DAT, not its name.
    test::WriteBytes(dir_ / "x.data", "");
    // The lists open in the working directory; the test's own must stay, for finding qd2vz.
    const fs::path before = fs::current_path();
    fs::current_path(dir_.path());
    window_ = HenkanWindow::Create(GetModuleHandleW(nullptr));
    fs::current_path(before);
    ASSERT_TRUE(window_);
    ShowWindow(window_->Handle(), SW_SHOW);
    PumpMessages(*window_, 50);
  }
  void TearDown() override {
    window_.reset();
    MSG message;  // everything left in the queue, the WM_QUIT of the closed window too
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
    for (UINT down : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
      SendMessageW(list, down, MK_LBUTTON, at);
      SendMessageW(list, WM_LBUTTONUP, 0, at);
      if (!twice) break;
    }
  }
  // An access key as the message loop gets it, given to the dialog keys first.
  void AltKey(wchar_t key) {
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = WM_SYSCHAR;
    msg.wParam = towlower(key);
    msg.lParam = LPARAM(1) << 29;  // Alt held
    if (!window_->PreTranslate(msg)) DispatchMessageW(&msg);
  }
  Names Files() const {
    Names items;
    const HWND list = Control(ControlId::File1);
    for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
      items.push_back(ListItem(list, i));
    }
    return items;
  }
  std::wstring Folder() const {
    const std::u16string folder = window_->DirectoryPath();
    return std::wstring(folder.begin(), folder.end());
  }

  test::TempDir dir_;
  std::unique_ptr<HenkanWindow> window_;
};

// Every control of tests/data/controls.tsv, in tab order (which is the order of creation): id,
// class, caption, tooltip, access key and place in twips at the window's dpi.
TEST_F(HenkanWin32Test, ControlsAreAsLaidOut) {
  const std::map<std::string, ControlId> ids = {
      {"Drive1", ControlId::Drive1},     {"Dir1", ControlId::Dir1},
      {"File1", ControlId::File1},       {"DisplayBox", ControlId::DisplayBox},
      {"FileName", ControlId::FileName}, {"Label1", ControlId::Label1},
      {"Erase", ControlId::Erase},       {"DatOpen", ControlId::DatOpen},
      {"DatCh", ControlId::DatCh},       {"DatSave", ControlId::DatSave},
      {"Exit", ControlId::Exit},         {"dbox", ControlId::dbox},
      {"datopen1", ControlId::datopen1}, {"hyouji", ControlId::hyouji}};
  auto wide = [](const std::string& utf8) { return test::Utf8Path(utf8).wstring(); };
  const HWND window = window_->Handle();
  const int dpi = static_cast<int>(GetDpiForWindow(window));
  auto px = [dpi](LONG twips) { return MulDiv(twips, dpi, 1440); };
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, px(8460));
  EXPECT_EQ(client.bottom, px(6345));
  int clicked = 0;
  SetWindowSubclass(window, NoteClicks, 1, reinterpret_cast<DWORD_PTR>(&clicked));

  HWND next = GetWindow(window, GW_CHILD);
  for (const test::ControlRow& row : test::ReadControls()) {
    SCOPED_TRACE(row.name);
    const HWND control = Control(ids.at(row.name));
    ASSERT_TRUE(control);
    EXPECT_EQ(control, next);
    next = GetWindow(next, GW_HWNDNEXT);
    EXPECT_EQ(GetDlgCtrlID(control), static_cast<int>(ids.at(row.name)));
    wchar_t className[32] = L"";
    GetClassNameW(control, className, 32);
    EXPECT_EQ(lstrcmpiW(className, wide(row.win32Class).c_str()), 0) << row.win32Class;
    EXPECT_EQ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0, row.tab >= 0);
    if (!row.caption.empty()) {
      EXPECT_EQ(Text(control), wide(row.caption));
    }

    wchar_t tip[128] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tip;
    SendMessageW(window_->Tooltips(), TTM_GETTEXTW, std::size(tip),
                 reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(tip), wide(row.tip));

    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, px(row.left));
    EXPECT_EQ(box.top, px(row.top));
    EXPECT_EQ(box.right - box.left, px(row.width));
    EXPECT_EQ(box.bottom - box.top, px(row.height));

    if (!row.key) continue;
    SetFocus(Control(ControlId::Drive1));
    clicked = 0;
    AltKey(static_cast<wchar_t>(row.key));
    if (row.name == "Label1") {
      EXPECT_EQ(GetFocus(), Control(ControlId::FileName));
    } else {
      EXPECT_EQ(clicked, GetDlgCtrlID(control));
    }
  }
  EXPECT_EQ(next, nullptr);
  RemoveWindowSubclass(window, NoteClicks, 1);
}

// Every caption is shown whole, in UI fonts of different widths (IPAexGothic and the wider
// IPAGothic stand in for Windows' MS UI Gothic, Meiryo UI, Yu Gothic UI) at 96 and 144 dpi:
// measured in its control's font, it fits inside the control, so that "ファイル名(&N)  ："
// neither wraps nor loses its colon. The UI font is changed for this process only.
TEST_F(HenkanWin32Test, CaptionsFitTheirControlsInEveryUiFont) {
  NONCLIENTMETRICSW system{};
  system.cbSize = sizeof system;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof system, &system, 0));
  const std::map<std::string, ControlId> ids = {
      {"Label1", ControlId::Label1},     {"Erase", ControlId::Erase},
      {"DatOpen", ControlId::DatOpen},   {"DatCh", ControlId::DatCh},
      {"DatSave", ControlId::DatSave},   {"Exit", ControlId::Exit},
      {"datopen1", ControlId::datopen1}, {"hyouji", ControlId::hyouji}};
  const HWND window = window_->Handle();
  const HDC dc = GetDC(window);
  for (UINT dpi : {96u, 144u}) {
    for (const wchar_t* face : {L"IPAexGothic", L"IPAGothic"}) {
      NONCLIENTMETRICSW metrics = system;
      LOGFONTW& message = metrics.lfMessageFont;
      wcscpy(message.lfFaceName, face);
      message.lfHeight = -12;  // 9 points at 96 dpi, as on a Japanese Windows
      ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
      RECT place{0, 0, 800, 600};
      SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
      const int messageHeight = MulDiv(12, static_cast<int>(dpi), 96);
      const int edge = 3 * GetSystemMetricsForDpi(SM_CXEDGE, dpi);
      for (const test::ControlRow& row : test::ReadControls()) {
        if (row.caption.empty()) continue;
        SCOPED_TRACE(row.name + " at " + std::to_string(dpi) + " dpi in " +
                     fs::path(face).string());
        const HWND control = Control(ids.at(row.name));
        const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        const HGDIOBJ before = SelectObject(dc, font);
        wchar_t used[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, used);
        EXPECT_EQ(std::wstring(used), face) << "the font is not installed";
        std::wstring shown = Text(control);
        shown.erase(std::remove(shown.begin(), shown.end(), L'&'), shown.end());
        SIZE extent{};
        GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, before);
        RECT room;
        GetClientRect(control, &room);
        if (row.win32Class == "Button") InflateRect(&room, -edge, 0);
        EXPECT_LE(extent.cx, room.right - room.left);
        EXPECT_LE(extent.cy, room.bottom - room.top);
        // Made smaller only as far as it takes: still readable.
        EXPECT_GE(metrics.tmHeight - metrics.tmInternalLeading, messageHeight * 3 / 4);
      }
    }
  }
  ReleaseDC(window, dc);
  SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof system, &system, 0);
}

// From the working folder through a subfolder and back, then sizes, data, conversion, save,
// erase and redisplay: the saved file holds what qd2vz.exe writes, and is listed at once.
TEST_F(HenkanWin32Test, WholeRoadSavesWhatQd2vzWrites) {
  const std::wstring here = dir_.path().wstring();
  EXPECT_EQ(TextOf(ControlId::dbox), L"作業（コマンド）を選択してください");
  EXPECT_EQ(Files(), (Names{L"sample.dat", L"sizes.qdc"}));
  ClickEntry(ControlId::Dir1, L"sub", true);
  EXPECT_EQ(Folder(), here + L"\\sub");
  EXPECT_EQ(Files(), Names{L"a.txt"});
  ClickEntry(ControlId::Dir1, fs::path(here).filename().c_str(), true);
  EXPECT_EQ(Folder(), here);

  Type(ControlId::FileName, L"sizes.qdc");
  Click(ControlId::datopen1);
  EXPECT_EQ(TextOf(ControlId::dbox), L"読み込み完了");
  ClickEntry(ControlId::File1, L"sample.dat");
  EXPECT_EQ(TextOf(ControlId::FileName), L"sample.dat");
  Click(ControlId::DatOpen);
  EXPECT_EQ(TextOf(ControlId::dbox), L"読み込み完了");
  Click(ControlId::DatCh);
  EXPECT_EQ(TextOf(ControlId::dbox), L"変換終了");
  EXPECT_EQ(Text(window_->Handle()), L"線変形データ変換");
  const std::wstring document = TextOf(ControlId::DisplayBox);

  Type(ControlId::FileName, L"out.txt");
  Click(ControlId::DatSave);
  EXPECT_EQ(TextOf(ControlId::dbox), L"保存が完了しました");
  EXPECT_EQ(Files(), (Names{L"out.txt", L"sample.dat", L"sizes.qdc"}));
  const test::Qd2vzResult qd2vz = test::RunQd2vz(dir_, "-s sizes.qdc sample.dat");
  ASSERT_EQ(qd2vz.status, 0) << qd2vz.err;
  EXPECT_EQ(test::ReadBytes(dir_ / "out.txt"), qd2vz.out);

  Click(ControlId::Erase);
  EXPECT_EQ(TextOf(ControlId::DisplayBox), L"");
  Click(ControlId::hyouji);
  EXPECT_EQ(TextOf(ControlId::DisplayBox), document);
}

// A drop as Explorer hands it over reaches the form: one file opens from its folder; a set is
// converted, its size file first, each macro beside its QD file with qd2vz's bytes.
TEST_F(HenkanWin32Test, DroppedFilesReachTheForm) {
  const std::wstring here = Folder();
  const std::wstring sub = here + L"\\sub";
  fs::copy_file(dir_ / "sizes.qdc", dir_ / "sub/sizes.qdc");
  SendMessageW(window_->Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({sub + L"\\sizes.qdc"})), 0);
  EXPECT_EQ(TextOf(ControlId::dbox), L"読み込み完了");
  EXPECT_EQ(TextOf(ControlId::FileName), L"sizes.qdc");
  EXPECT_EQ(Folder(), sub);

  const HDROP drop = MakeDrop({here + L"\\sample.dat", sub + L"\\sizes.qdc"});
  SendMessageW(window_->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(TextOf(ControlId::dbox), L"1個のファイルを変換しました、0個は変換しませんでした");
  EXPECT_EQ(Folder(), here);
  EXPECT_EQ(Files(), (Names{L"sample.dat", L"sample.txt", L"sizes.qdc"}));
  const test::Qd2vzResult qd2vz = test::RunQd2vz(dir_, "-s sizes.qdc sample.dat");
  ASSERT_EQ(qd2vz.status, 0) << qd2vz.err;
  EXPECT_EQ(test::ReadBytes(dir_ / "sample.txt"), qd2vz.out);
}

// Files given on the command line, as Explorer gives those dropped onto the program's icon:
// quoted or not, relative to the working folder or whole, they reach the form as a drop.
TEST_F(HenkanWin32Test, CommandLineFilesOpenAsADrop) {
  const std::wstring here = Folder();
  fs::copy_file(dir_ / "sample.dat", dir_ / "sub/サンプル 1.dat");
  const fs::path before = fs::current_path();
  fs::current_path(dir_.path());
  const std::vector<std::u16string> files = FileArguments(
      (L"\"C:\\Program Files\\qdvz\\henkan.exe\" sizes.qdc \"" + here + L"\\sub\\サンプル 1.dat\"")
          .c_str());
  fs::current_path(before);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(fs::path(files[0]), dir_ / "sizes.qdc");
  window_->OpenFiles(files);
  EXPECT_EQ(TextOf(ControlId::dbox), L"1個のファイルを変換しました、0個は変換しませんでした");
  const test::Qd2vzResult qd2vz = test::RunQd2vz(dir_, "-s sizes.qdc sample.dat");
  ASSERT_EQ(qd2vz.status, 0) << qd2vz.err;
  EXPECT_EQ(test::ReadBytes(dir_ / "sub/サンプル 1.txt"), qd2vz.out);
  EXPECT_TRUE(FileArguments(L"henkan.exe").empty());
}

// Files made or removed by others show through the folder watch of the message loop; the
// chosen file stays chosen.
TEST_F(HenkanWin32Test, FileListFollowsTheFolder) {
  ClickEntry(ControlId::File1, L"sizes.qdc");
  auto within5s = [&](const Names& files) {
    for (int waited = 0; waited < 5000 && Files() != files; waited += 50) {
      PumpMessages(*window_, 50);
    }
    return Files() == files;
  };
  test::WriteBytes(dir_ / "added.dat", "999\r\n");
  EXPECT_TRUE(within5s({L"added.dat", L"sample.dat", L"sizes.qdc"}));
  fs::remove(dir_ / "added.dat");
  EXPECT_TRUE(within5s({L"sample.dat", L"sizes.qdc"}));
  const HWND file1 = Control(ControlId::File1);
  EXPECT_EQ(ListItem(file1, SendMessageW(file1, LB_GETCURSEL, 0, 0)), L"sizes.qdc");
}

}  // namespace
}  // namespace qdvz::win32
