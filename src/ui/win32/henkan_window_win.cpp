#include "ui/win32/henkan_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "io/name_pattern.h"
#include "ui/file_path.h"
#include "ui/ui_messages.h"
#include "ui/win32/resource.h"

namespace qdvz::win32 {
namespace {

constexpr wchar_t kClassName[] = L"qdvz.henkan";
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The layout is given in twips, 1/1440 inch, of the client area.
constexpr int kClientWidthTwips = 8460;
constexpr int kClientHeightTwips = 6345;

constexpr char16_t kFilePattern[] = u"*.dat;*.txt;*.qdc;*.vzm";
constexpr wchar_t kGothic[] = L"ＭＳ ゴシック";

struct ControlLayout {
  ControlId id;
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
  const wchar_t* caption;
  const wchar_t* tip;
  int left, top, width, height;
  int fontCentipoints;  // the fixed-pitch Japanese font at this size; 0: the window's font
};

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

// In tab order, which is the order of creation.
constexpr ControlLayout kControls[kControlCount] = {
    {ControlId::Drive1, WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, L"", nullptr,
     120, 720, 2535, 300, 0},
    {ControlId::Dir1, WC_LISTBOXW, kList | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, WS_EX_CLIENTEDGE,
     L"", nullptr, 120, 1080, 2535, 1560, 0},
    {ControlId::File1, WC_LISTBOXW, kList | LBS_SORT, WS_EX_CLIENTEDGE, L"", nullptr, 2760, 720,
     2895, 1845, 1006},
    {ControlId::DisplayBox, WC_EDITW,
     WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL |
         ES_WANTRETURN | ES_NOHIDESEL,
     WS_EX_CLIENTEDGE, L"", nullptr, 120, 2760, 8175, 3135, 1084},
    {ControlId::FileName, WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, L"",
     L"ファイル名を入力してください", 1440, 240, 2655, 270, 929},
    {ControlId::Label1, WC_STATICW, SS_LEFT, 0, L"ファイル名(&N)  ：", nullptr, 120, 240, 1335, 255,
     0},
    {ControlId::Erase, WC_BUTTONW, kButton, 0, L"消去(&E)", L"表示を消去します", 5880, 1680, 1095,
     375, 0},
    {ControlId::DatOpen, WC_BUTTONW, kButton, 0, L"開く(&O)", L"ファイルを開きます", 5880, 720,
     1095, 375, 0},
    {ControlId::DatCh, WC_BUTTONW, kButton, 0, L"QD→VZ", L"データを変換します", 7080, 1200, 1095,
     375, 0},
    {ControlId::DatSave, WC_BUTTONW, kButton, 0, L"保存(&S)", L"保存します", 7080, 720, 1095, 375,
     0},
    {ControlId::Exit, WC_BUTTONW, kButton, 0, L"終了(&X)", L"プログラムを終了します", 7080, 2160,
     1095, 375, 0},
    {ControlId::dbox, WC_EDITW, WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE, L"",
     nullptr, 120, 6000, 8175, 270, 0},
    {ControlId::datopen1, WC_BUTTONW, kButton, 0, L"文字ｻｲｽﾞ", L"文字データを読みこみます", 5880,
     1200, 1095, 375, 0},
    {ControlId::hyouji, WC_BUTTONW, kButton, 0, L"再表示", L"直前に消去されたデータを再表示します",
     7080, 1680, 1095, 375, 0},
};

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::u16string FromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

std::wstring ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length), L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

std::wstring ListText(HWND list, LRESULT index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length), L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  return text;
}

// The path of name in folder, by the rule the form builds its paths with.
std::wstring JoinPath(const std::wstring& folder, std::wstring_view name) {
  return Wide(SelectedFilePath(FromWide(folder), FromWide(name)));
}

// An edit box breaks lines at CR LF only; a lone CR or LF from a file's line must break too.
std::wstring WithCrLf(std::u16string_view text) {
  std::wstring lines;
  lines.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      lines += L"\r\n";
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      lines += static_cast<wchar_t>(text[i]);
    }
  }
  return lines;
}

// The dpi functions of Windows 10 (1607 and later), looked up so that the program still starts
// on older systems, where the dpi of the screen is used throughout.
struct DpiFunctions {
  UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
  BOOL(WINAPI* systemParametersForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
  BOOL(WINAPI* adjustWindowRectForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
  int(WINAPI* systemMetricsForDpi)(int, UINT) = nullptr;
};

template <typename Function>
void Lookup(HMODULE module, const char* name, Function& function) {
  // Through void(*)() as the compiler wants for a cast between function types.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const DpiFunctions& Dpi() {
  static const DpiFunctions functions = [] {
    DpiFunctions found;
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    Lookup(user32, "GetDpiForWindow", found.dpiForWindow);
    Lookup(user32, "SystemParametersInfoForDpi", found.systemParametersForDpi);
    Lookup(user32, "AdjustWindowRectExForDpi", found.adjustWindowRectForDpi);
    Lookup(user32, "GetSystemMetricsForDpi", found.systemMetricsForDpi);
    return found;
  }();
  return functions;
}

UINT ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT WindowDpi(HWND window) {
  const UINT dpi = Dpi().dpiForWindow ? Dpi().dpiForWindow(window) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

int SystemMetric(int index, UINT dpi) {
  if (Dpi().systemMetricsForDpi) return Dpi().systemMetricsForDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

// The system's message font, which Windows uses for dialogs.
LOGFONTW MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (Dpi().systemParametersForDpi &&
      Dpi().systemParametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    return metrics.lfMessageFont;
  }
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfHeight =
      MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
  return metrics.lfMessageFont;
}

LOGFONTW GothicFont(int centipoints, UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(centipoints, static_cast<int>(dpi), 72 * 100);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::copy(std::begin(kGothic), std::end(kGothic), font.lfFaceName);
  return font;
}

// A caption as its control shows it: "&N" underlines N, "&&" is one '&'.
std::wstring ShownCaption(std::wstring_view caption) {
  std::wstring shown;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

// The room a caption has in its control of the given size: a label's whole box; a button's
// inside its raised frame and focus rectangle.
SIZE CaptionRoom(const ControlLayout& layout, SIZE box, UINT dpi) {
  if (std::wstring_view(layout.className) != WC_BUTTONW) return box;
  const int edge = 3 * SystemMetric(SM_CXEDGE, dpi);
  return {box.cx - 2 * edge, box.cy - 2 * SystemMetric(SM_CYEDGE, dpi)};
}

// The font for a caption: the window's font where the caption fits its room, else the same
// face as much smaller as it takes to fit, so that a wide UI font neither wraps nor cuts a
// caption of the fixed layout. Null for the window's font itself.
UniqueFont CaptionFont(HWND control, const LOGFONTW& windowFont, std::wstring_view caption,
                       SIZE room) {
  const std::wstring shown = ShownCaption(caption);
  const HDC dc = GetDC(control);
  UniqueFont fitting;
  LOGFONTW font = windowFont;
  const LONG sign = font.lfHeight < 0 ? -1 : 1;
  for (;;) {
    UniqueFont trial(CreateFontIndirectW(&font));
    const HGDIOBJ before = SelectObject(dc, trial.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
    SelectObject(dc, before);
    // Fits, or too small to shrink further (a few pixels: better cut than unreadable).
    if ((extent.cx <= room.cx && extent.cy <= room.cy) || sign * font.lfHeight <= 6) {
      if (font.lfHeight != windowFont.lfHeight) fitting = std::move(trial);
      break;
    }
    font.lfHeight -= sign;
  }
  ReleaseDC(control, dc);
  return fitting;
}

// A drop-down list's height includes the list; the closed box is as high as its selection
// field and frame. The frame is measured with a trial field height, since what
// CB_GETITEMHEIGHT reports differs between Windows and wine.
void FitClosedHeight(HWND combo, int height) {
  SendMessageW(combo, CB_SETITEMHEIGHT, WPARAM(-1), height);
  RECT box;
  GetWindowRect(combo, &box);
  const int frame = (box.bottom - box.top) - height;
  SendMessageW(combo, CB_SETITEMHEIGHT, WPARAM(-1), std::max(1, height - frame));
}

// The shell's small folder icons: 3 closed, 4 open. (SHGetStockIconInfo gives none under wine.)
HICON FolderIcon(bool open) {
  HICON icon = nullptr;
  ExtractIconExW(L"shell32.dll", open ? 4 : 3, nullptr, &icon, 1);
  return icon;
}

// The visible subfolders of a folder, by name regardless of case.
std::vector<std::wstring> Subfolders(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW(JoinPath(folder, L"*").c_str(), FindExInfoBasic, &found,
                                         FindExSearchLimitToDirectories, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring_view name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && name != L"." && name != L"..") {
      names.emplace_back(name);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
  });
  return names;
}

// Whether a file name matches one of the file list's patterns.
bool MatchesFilePattern(std::wstring_view name) {
  std::u16string_view patterns = kFilePattern;
  while (!patterns.empty()) {
    const size_t end = std::min(patterns.find(u';'), patterns.size());
    if (MatchesNamePattern(FromWide(name), patterns.substr(0, end))) return true;
    patterns.remove_prefix(std::min(end + 1, patterns.size()));
  }
  return false;
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return {};
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return {};
  full.resize(length);
  // "C:\" keeps its separator; "C:\data\" does not need it.
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  return full;
}

}  // namespace

std::unique_ptr<HenkanWindow> HenkanWindow::Create(HINSTANCE instance) {
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &HenkanWindow::Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(QDVZ_HENKAN_ICON),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                    GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(QDVZ_HENKAN_ICON), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  // A second window of the process finds the class registered already.
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return nullptr;
  }

  std::unique_ptr<HenkanWindow> self(new HenkanWindow());
  const std::wstring caption = Wide(ui_msg::kStartCaption);
  if (!CreateWindowExW(0, kClassName, caption.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, self.get())) {
    return nullptr;
  }
  self->CreateControls(instance);
  self->ApplyLayout(WindowDpi(self->window_));
  DragAcceptFiles(self->window_, TRUE);

  self->FillDrives();
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring here(size, L'\0');
  here.resize(GetCurrentDirectoryW(size, here.data()));
  self->ShowDirectory(here);
  self->form_.Form_Load();
  return self;
}

HenkanWindow::~HenkanWindow() {
  if (window_) DestroyWindow(window_);
  StopWatching();
  if (folderIcon_) DestroyIcon(folderIcon_);
  if (openFolderIcon_) DestroyIcon(openFolderIcon_);
}

HWND HenkanWindow::Control(ControlId id) const {
  return window_ ? GetDlgItem(window_, static_cast<int>(id)) : nullptr;
}

void HenkanWindow::CreateControls(HINSTANCE instance) {
  for (const ControlLayout& layout : kControls) {
    // Placed and given their fonts by ApplyLayout.
    CreateWindowExW(layout.exStyle, layout.className, layout.caption,
                    WS_CHILD | WS_VISIBLE | layout.style, 0, 0, 0, 0, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
  }
  // Unlimited: the edit box would stop at 32K characters, a fifth of a full QD file.
  SendMessageW(Control(ControlId::DisplayBox), EM_SETLIMITTEXT, 0, 0);

  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
  for (const ControlLayout& layout : kControls) {
    if (layout.tip == nullptr) continue;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(layout.id));
    tool.lpszText = const_cast<wchar_t*>(layout.tip);
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  folderIcon_ = FolderIcon(false);
  openFolderIcon_ = FolderIcon(true);
}

// Places the controls and makes their fonts for a dpi: at the start, when the window moves to a
// monitor of another dpi, and when the user picks another UI font.
void HenkanWindow::ApplyLayout(UINT dpi) {
  dpi_ = dpi;
  const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
  const LOGFONTW message = MessageFont(dpi);
  UniqueFont windowFont(CreateFontIndirectW(&message));
  for (size_t i = 0; i < std::size(kControls); ++i) {
    const ControlLayout& layout = kControls[i];
    const HWND control = Control(layout.id);
    UniqueFont font;
    if (layout.fontCentipoints) {
      const LOGFONTW gothic = GothicFont(layout.fontCentipoints, dpi);
      font.reset(CreateFontIndirectW(&gothic));
    } else if (*layout.caption) {
      const SIZE box{px(layout.width), px(layout.height)};
      font = CaptionFont(control, message, layout.caption, CaptionRoom(layout, box, dpi));
    }
    SendMessageW(control, WM_SETFONT,
                 reinterpret_cast<WPARAM>(font ? font.get() : windowFont.get()), FALSE);
    controlFonts_[i] = std::move(font);  // the old one only now, once no control uses it
    // Room for eight entries below the closed drop-down list.
    const int height = layout.id == ControlId::Drive1 ? px(layout.height) * 9 : px(layout.height);
    SetWindowPos(control, nullptr, px(layout.left), px(layout.top), px(layout.width), height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont.get()), FALSE);
  windowFont_ = std::move(windowFont);

  const HWND drive1 = Control(ControlId::Drive1);
  FitClosedHeight(drive1, px(kControls[0].height));

  iconSize_ = SystemMetric(SM_CXSMICON, dpi);
  const HWND dir1 = Control(ControlId::Dir1);
  const HDC dc = GetDC(dir1);
  const HGDIOBJ before = SelectObject(dc, windowFont_.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, before);
  ReleaseDC(dir1, dc);
  SendMessageW(dir1, LB_SETITEMHEIGHT, 0, std::max<LONG>(metrics.tmHeight, iconSize_) + 2);

  RECT frame{0, 0, px(kClientWidthTwips), px(kClientHeightTwips)};
  if (Dpi().adjustWindowRectForDpi) {
    Dpi().adjustWindowRectForDpi(&frame, kWindowStyle, FALSE, 0, dpi);
  } else {
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  }
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK HenkanWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<HenkanWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<HenkanWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->tooltips_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->OnMessage(message, wParam, lParam);
}

LRESULT HenkanWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_NEXTDLGCTL:
      // A multi-line edit box sends this for Tab; a dialog would move the focus on.
      MoveFocus(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(window_, GetFocus(), wParam != 0));
      return 0;
    case WM_DRAWITEM:
      if (wParam == static_cast<WPARAM>(ControlId::Dir1)) {
        DrawDirectoryEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_SETTINGCHANGE:
      // The user chose another UI font or size: the captions are fitted to it again.
      if (wParam == SPI_SETNONCLIENTMETRICS) ApplyLayout(dpi_);
      break;
    case WM_DPICHANGED: {
      ApplyLayout(HIWORD(wParam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      StopWatching();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void HenkanWindow::OnCommand(int id, int code) {
  switch (static_cast<ControlId>(id)) {
    case ControlId::Drive1:
      if (code == CBN_SELCHANGE) Drive1_Change();
      return;
    case ControlId::Dir1:
      if (code == LBN_DBLCLK) Dir1_Open();
      return;
    case ControlId::File1:
      if (code == LBN_SELCHANGE) File1_Click();
      return;
    default:
      break;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case static_cast<int>(ControlId::DatOpen):
      return form_.DatOpen_Click();
    case static_cast<int>(ControlId::datopen1):
      return form_.datopen1_Click();
    case static_cast<int>(ControlId::DatCh):
      return form_.DatCh_Click();
    case static_cast<int>(ControlId::DatSave):
      return form_.DatSave_Click();
    case static_cast<int>(ControlId::Erase):
      return form_.Erase_Click();
    case static_cast<int>(ControlId::hyouji):
      return form_.hyouji_Click();
    case static_cast<int>(ControlId::Exit):
      DestroyWindow(window_);
      return;
    case IDOK:  // Enter outside the buttons: in the directory list it opens the folder
      if (GetFocus() == Control(ControlId::Dir1)) Dir1_Open();
      return;
    default:
      return;
  }
}

void HenkanWindow::OnDropFiles(HDROP drop) {
  std::vector<std::u16string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
    DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
    paths.push_back(FromWide(path));
  }
  DragFinish(drop);
  form_.Form_OLEDragDrop(paths);
}

void HenkanWindow::MoveFocus(HWND next) {
  if (next == nullptr) return;
  SetFocus(next);
  // As a dialog does: text reached by Tab is selected whole.
  if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    SendMessageW(next, EM_SETSEL, 0, -1);
  }
}

bool HenkanWindow::PreTranslate(MSG& message) {
  if (window_ == nullptr || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
    return false;
  }
  // The label's access key leads to the box it names, FileName; the dialog keys would take the
  // control after the label in tab order.
  if (message.message == WM_SYSCHAR && (message.wParam == L'n' || message.wParam == L'N')) {
    MoveFocus(Control(ControlId::FileName));
    return true;
  }
  return IsDialogMessageW(window_, &message) != FALSE;
}

void HenkanWindow::DrawDirectoryEntry(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1)) {
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  // Item data: the depth below the root, and whether the folder is open (on the way down to
  // the shown one).
  const LRESULT data = SendMessageW(item.hwndItem, LB_GETITEMDATA, item.itemID, 0);
  const int depth = LOWORD(data);
  const bool open = HIWORD(data) != 0;
  const int left = item.rcItem.left + 2 + depth * (iconSize_ * 3 / 4);
  const int height = item.rcItem.bottom - item.rcItem.top;
  if (HICON icon = open ? openFolderIcon_ : folderIcon_) {
    DrawIconEx(item.hDC, left, item.rcItem.top + (height - iconSize_) / 2, icon, iconSize_,
               iconSize_, 0, nullptr, DI_NORMAL);
  }
  RECT text = item.rcItem;
  text.left = left + iconSize_ + 4;
  const std::wstring name = ListText(item.hwndItem, item.itemID);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

// Dir1's path: the directory list, the drive shown and the file list follow it.
bool HenkanWindow::ShowDirectory(const std::wstring& path) {
  if (path.empty()) return false;
  const std::wstring full = FullPath(path);
  const DWORD attributes =
      full.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  if (full == directory_) return true;
  directory_ = full;
  FillDirectoryList();
  ShowDriveOf(directory_);
  WatchFolder();
  // A name chosen in the folder before is no choice in this one.
  SendMessageW(Control(ControlId::File1), LB_SETCURSEL, WPARAM(-1), 0);
  RefreshFileList();
  return true;
}

void HenkanWindow::FillDrives() {
  // A bare pattern: with a folder in it the call would also change the working directory.
  wchar_t pattern[MAX_PATH] = L"*";
  DlgDirListComboBoxW(window_, pattern, static_cast<int>(ControlId::Drive1), 0,
                      DDL_DRIVES | DDL_EXCLUSIVE);
}

void HenkanWindow::ShowDriveOf(const std::wstring& path) {
  const HWND drive1 = Control(ControlId::Drive1);
  LRESULT index = CB_ERR;
  if (path.size() >= 2 && path[1] == L':') {
    const wchar_t entry[] = {L'[', L'-', static_cast<wchar_t>(towlower(path[0])), L'-', L']', 0};
    index = SendMessageW(drive1, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(entry));
  }
  SendMessageW(drive1, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The folders from the root down to the shown one, opened, then the shown one's subfolders.
void HenkanWindow::FillDirectoryList() {
  const HWND dir1 = Control(ControlId::Dir1);
  SendMessageW(dir1, WM_SETREDRAW, FALSE, 0);
  SendMessageW(dir1, LB_RESETCONTENT, 0, 0);
  directoryEntries_.clear();
  auto add = [&](const std::wstring& name, const std::wstring& path, int depth, bool open) {
    const LRESULT index =
        SendMessageW(dir1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(dir1, LB_SETITEMDATA, static_cast<WPARAM>(index), MAKELPARAM(depth, open));
    directoryEntries_.push_back(path);
  };
  const std::filesystem::path shown(directory_);
  std::filesystem::path step = shown.root_path();
  add(step.wstring(), step.wstring(), 0, true);
  int depth = 0;
  for (const std::filesystem::path& part : shown.relative_path()) {
    if (part.empty()) continue;
    step /= part;
    add(part.wstring(), step.wstring(), ++depth, true);
  }
  const auto current = static_cast<WPARAM>(directoryEntries_.size() - 1);
  for (const std::wstring& name : Subfolders(directory_)) {
    add(name, JoinPath(directory_, name), depth + 1, false);
  }
  SendMessageW(dir1, LB_SETCURSEL, current, 0);
  SendMessageW(dir1, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(dir1, nullptr, TRUE);
}

void HenkanWindow::WatchFolder() {
  StopWatching();
  const HANDLE change =
      FindFirstChangeNotificationW(directory_.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  folderChange_ = change == INVALID_HANDLE_VALUE ? nullptr : change;
}

void HenkanWindow::StopWatching() {
  if (folderChange_) FindCloseChangeNotification(folderChange_);
  folderChange_ = nullptr;
}

void HenkanWindow::OnFolderChange() {
  if (folderChange_ == nullptr) return;
  if (!FindNextChangeNotification(folderChange_)) StopWatching();  // the folder is gone
  RefreshFileList();
}

void HenkanWindow::Drive1_Change() {
  wchar_t drive[MAX_PATH] = L"";
  DlgDirSelectComboBoxExW(window_, drive, MAX_PATH, static_cast<int>(ControlId::Drive1));
  // "c:" is the drive's working folder, its root unless one was set; a drive that is not
  // ready leaves the lists where they are.
  if (!ShowDirectory(drive)) ShowDriveOf(directory_);
}

void HenkanWindow::Dir1_Open() {
  const LRESULT index = SendMessageW(Control(ControlId::Dir1), LB_GETCURSEL, 0, 0);
  if (index >= 0 && static_cast<size_t>(index) < directoryEntries_.size()) {
    ShowDirectory(directoryEntries_[static_cast<size_t>(index)]);
  }
}

void HenkanWindow::File1_Click() {
  // The entry's text itself: DlgDirSelectExW would read a name in brackets as a folder.
  const HWND file1 = Control(ControlId::File1);
  const LRESULT index = SendMessageW(file1, LB_GETCURSEL, 0, 0);
  if (index != LB_ERR) form_.File1_Click(FromWide(ListText(file1, index)));
}

std::u16string HenkanWindow::FileNameText() const {
  return FromWide(ControlText(Control(ControlId::FileName)));
}

void HenkanWindow::SetFileNameText(const std::u16string& text) {
  SetWindowTextW(Control(ControlId::FileName), Wide(text).c_str());
}

std::u16string HenkanWindow::DirectoryPath() const {
  return FromWide(directory_);
}

bool HenkanWindow::SetDirectoryPath(const std::u16string& path) {
  return ShowDirectory(Wide(path));
}

void HenkanWindow::RefreshFileList() {
  const HWND file1 = Control(ControlId::File1);
  const LRESULT chosenIndex = SendMessageW(file1, LB_GETCURSEL, 0, 0);
  const std::wstring chosen = chosenIndex == LB_ERR ? std::wstring() : ListText(file1, chosenIndex);
  const LRESULT top = SendMessageW(file1, LB_GETTOPINDEX, 0, 0);
  SendMessageW(file1, WM_SETREDRAW, FALSE, 0);
  SendMessageW(file1, LB_RESETCONTENT, 0, 0);
  // The files whose long names match a pattern, hidden and system files left out. (LB_DIR
  // also matches 8.3 short names: it would list "x.data" for "*.dat", through "X~1.DAT".)
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW(JoinPath(directory_, L"*").c_str(), FindExInfoBasic,
                                         &found, FindExSearchNameMatch, nullptr, 0);
  if (search != INVALID_HANDLE_VALUE) {
    constexpr DWORD kNotListed =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
      if (!(found.dwFileAttributes & kNotListed) && MatchesFilePattern(found.cFileName)) {
        SendMessageW(file1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  if (!chosen.empty()) {
    const LRESULT count = SendMessageW(file1, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      if (ListText(file1, i) == chosen)
        SendMessageW(file1, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
  }
  SendMessageW(file1, LB_SETTOPINDEX, static_cast<WPARAM>(std::max<LRESULT>(top, 0)), 0);
  SendMessageW(file1, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(file1, nullptr, TRUE);
}

void HenkanWindow::SetCaption(const std::u16string& caption) {
  SetWindowTextW(window_, Wide(caption).c_str());
}

void HenkanWindow::SetStatus(const std::u16string& message) {
  SetWindowTextW(Control(ControlId::dbox), Wide(message).c_str());
}

std::u16string HenkanWindow::DisplayText() const {
  return FromWide(ControlText(Control(ControlId::DisplayBox)));
}

void HenkanWindow::SetDisplayText(const std::u16string& text) {
  SetWindowTextW(Control(ControlId::DisplayBox), WithCrLf(text).c_str());
}

bool HenkanWindow::AskYesNo(const std::u16string& question) {
  return MessageBoxW(window_, Wide(question).c_str(), ControlText(window_).c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

namespace {

// Messages and changes of the shown folder until `milliseconds` have passed or WM_QUIT came.
bool Pump(HenkanWindow& window, DWORD milliseconds, int* exitCode) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        if (exitCode) *exitCode = static_cast<int>(message.wParam);
        return false;
      }
      if (!window.PreTranslate(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    DWORD wait = INFINITE;
    if (milliseconds != INFINITE) {
      const ULONGLONG now = GetTickCount64();
      if (now >= end) return true;
      wait = static_cast<DWORD>(end - now);
    }
    HANDLE change = window.FolderChange();
    const DWORD count = change ? 1 : 0;
    if (MsgWaitForMultipleObjectsEx(count, &change, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
            WAIT_OBJECT_0 &&
        count == 1) {
      window.OnFolderChange();
    }
  }
}

}  // namespace

int RunMessageLoop(HenkanWindow& window) {
  int exitCode = 0;
  while (Pump(window, INFINITE, &exitCode)) {
  }
  return exitCode;
}

bool PumpMessages(HenkanWindow& window, DWORD milliseconds) {
  return Pump(window, milliseconds, nullptr);
}

}  // namespace qdvz::win32
