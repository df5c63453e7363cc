#include "ui/win32/henkan_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>

#include "io/name_pattern.h"
#include "ui/file_path.h"
#include "ui/ui_messages.h"
#include "ui/win32/layout_win.h"
#include "ui/win32/resource.h"

namespace qdvz::win32 {
namespace {

constexpr wchar_t kClassName[] = L"qdvz.henkan";

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

UniqueIcon ProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
  return UniqueIcon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(QDVZ_HENKAN_ICON), IMAGE_ICON,
                 GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR)));
}

}  // namespace

std::unique_ptr<HenkanWindow> HenkanWindow::Create(HINSTANCE instance) {
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);

  // The icons are the window's (WM_SETICON), so that each window gives back its own.
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &HenkanWindow::Procedure;
  windowClass.hInstance = instance;
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
  self->icon_ = ProgramIcon(instance, SM_CXICON, SM_CYICON);
  self->smallIcon_ = ProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
  SendMessageW(self->window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(self->icon_.get()));
  SendMessageW(self->window_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(self->smallIcon_.get()));
  self->CreateControls(instance);
  self->ApplyLayout(GetDpiForWindow(self->window_));
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
  // The window first: its controls use the fonts and icons given back after it.
  if (window_) DestroyWindow(window_);
}

HWND HenkanWindow::Control(ControlId id) const {
  return window_ ? GetDlgItem(window_, static_cast<int>(id)) : nullptr;
}

void HenkanWindow::CreateControls(HINSTANCE instance) {
  // In the order of the table, which is the tab order.
  for (size_t i = 0; i < kControls.size(); ++i) {
    const ControlSpec& spec = kControls[i];
    const ControlClass kind = ClassOf(spec.kind);
    const DWORD tabStop = IsTabStop(spec) ? WS_TABSTOP : 0;
    // Placed and given their fonts by ApplyLayout.
    CreateWindowExW(kind.exStyle, kind.name, Wide(spec.caption).c_str(),
                    WS_CHILD | WS_VISIBLE | tabStop | kind.style, 0, 0, 0, 0, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(i))), instance, nullptr);
  }
  dir1_.Attach(Control(ControlId::Dir1));
  // Unlimited: the edit box would stop at 32K characters, a fifth of a full QD file.
  SendMessageW(Control(ControlId::DisplayBox), EM_SETLIMITTEXT, 0, 0);

  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
  for (size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].tooltip.empty()) continue;
    std::wstring tip = Wide(kControls[i].tooltip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(IdOf(i)));
    tool.lpszText = tip.data();  // copied by the tooltip control
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// Dir1's path: the directory list, then the drive shown, the watch and the file list through
// the form.
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
  dir1_.Show(directory_);
  form_.Dir1_Change();
  return true;
}

void HenkanWindow::FillDrives() {
  // A bare pattern: with a folder in it the call would also change the working directory.
  wchar_t pattern[MAX_PATH] = L"*";
  DlgDirListComboBoxW(window_, pattern, static_cast<int>(ControlId::Drive1), 0,
                      DDL_DRIVES | DDL_EXCLUSIVE);
}

std::u16string HenkanWindow::ChosenDrive() const {
  // "c:" is the drive's working folder, its root unless one was set.
  wchar_t drive[MAX_PATH] = L"";
  DlgDirSelectComboBoxExW(window_, drive, MAX_PATH, static_cast<int>(ControlId::Drive1));
  return FromWide(drive);
}

void HenkanWindow::ShowDriveOf(const std::u16string& folder) {
  const HWND drive1 = Control(ControlId::Drive1);
  LRESULT index = CB_ERR;
  if (folder.size() >= 2 && folder[1] == u':') {
    const wchar_t entry[] = {L'[', L'-', static_cast<wchar_t>(towlower(folder[0])), L'-', L']', 0};
    index = SendMessageW(drive1, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(entry));
  }
  SendMessageW(drive1, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void HenkanWindow::WatchFolder(const std::u16string& folder) {
  folderChange_.reset();
  const HANDLE change =
      FindFirstChangeNotificationW(Wide(folder).c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  if (change != INVALID_HANDLE_VALUE) folderChange_.reset(change);
}

void HenkanWindow::OnFolderChange() {
  if (!folderChange_) return;
  if (!FindNextChangeNotification(folderChange_.get())) folderChange_.reset();  // folder gone
  form_.RefreshFileList();
}

void HenkanWindow::Dir1_Open() {
  const std::wstring folder = dir1_.ChosenFolder();
  if (!folder.empty()) ShowDirectory(folder);
}

void HenkanWindow::File1_Click() {
  const std::u16string name = ChosenFile();
  if (!name.empty()) form_.File1_Click(name);
}

std::u16string HenkanWindow::ChosenFile() const {
  // The entry's text itself: DlgDirSelectExW would read a name in brackets as a folder.
  const HWND file1 = Control(ControlId::File1);
  const LRESULT index = SendMessageW(file1, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? std::u16string() : FromWide(ListText(file1, index));
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

void HenkanWindow::ListFiles(const std::u16string& chosen) {
  const HWND file1 = Control(ControlId::File1);
  const LRESULT top = SendMessageW(file1, LB_GETTOPINDEX, 0, 0);
  SendMessageW(file1, WM_SETREDRAW, FALSE, 0);
  SendMessageW(file1, LB_RESETCONTENT, 0, 0);
  // The files whose long names match a pattern, hidden and system files left out. (LB_DIR
  // also matches 8.3 short names: it would list "x.data" for "*.dat", through "X~1.DAT".)
  WIN32_FIND_DATAW found;
  const HANDLE first = FindFirstFileExW(JoinPath(directory_, L"*").c_str(), FindExInfoBasic, &found,
                                        FindExSearchNameMatch, nullptr, 0);
  if (first != INVALID_HANDLE_VALUE) {
    const UniqueFind search(first);
    constexpr DWORD kNotListed =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
      if (!(found.dwFileAttributes & kNotListed) && MatchesFilePattern(found.cFileName)) {
        SendMessageW(file1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
      }
    } while (FindNextFileW(search.get(), &found));
  }
  if (!chosen.empty()) {
    const std::wstring name = Wide(chosen);
    const LRESULT count = SendMessageW(file1, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      if (ListText(file1, i) == name) SendMessageW(file1, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
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

void HenkanWindow::ShowDisplayText(std::u16string text) {
  // wchar_t is UTF-16 on Windows: the text goes to the box as it is, without another copy.
  SetWindowTextW(Control(ControlId::DisplayBox), reinterpret_cast<const wchar_t*>(text.c_str()));
}

bool HenkanWindow::AskYesNo(const std::u16string& question) {
  return MessageBoxW(window_, Wide(question).c_str(), ControlText(window_).c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void HenkanWindow::Close() {
  DestroyWindow(window_);
}

}  // namespace qdvz::win32
