#include "ui/win32/directory_list_win.h"

#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "ui/file_path.h"

namespace qdvz::win32 {
namespace {

// The shell's small folder icons: 3 closed, 4 open. (SHGetStockIconInfo gives none under wine.)
UniqueIcon FolderIcon(bool open) {
  HICON icon = nullptr;
  ExtractIconExW(L"shell32.dll", open ? 4 : 3, nullptr, &icon, 1);
  return UniqueIcon(icon);
}

// The visible subfolders of a folder, by name regardless of case.
std::vector<std::wstring> Subfolders(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE first = FindFirstFileExW(JoinPath(folder, L"*").c_str(), FindExInfoBasic, &found,
                                        FindExSearchLimitToDirectories, nullptr, 0);
  if (first == INVALID_HANDLE_VALUE) return names;
  const UniqueFind search(first);
  do {
    const std::wstring_view name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && name != L"." && name != L"..") {
      names.emplace_back(name);
    }
  } while (FindNextFileW(search.get(), &found));
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
  });
  return names;
}

std::wstring EntryText(HWND list, UINT index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length), L'\0');
  SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  return text;
}

}  // namespace

std::wstring JoinPath(const std::wstring& folder, std::wstring_view name) {
  const std::u16string path = SelectedFilePath(std::u16string(folder.begin(), folder.end()),
                                               std::u16string(name.begin(), name.end()));
  return std::wstring(path.begin(), path.end());
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

void DirectoryList::Attach(HWND list) {
  list_ = list;
  folderIcon_ = FolderIcon(false);
  openFolderIcon_ = FolderIcon(true);
}

void DirectoryList::Show(const std::wstring& folder) {
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  folders_.clear();
  // Item data: the depth below the root, and whether the folder is open (on the way down to
  // the shown one).
  auto add = [&](const std::wstring& name, const std::wstring& path, int depth, bool open) {
    const LRESULT index =
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(list_, LB_SETITEMDATA, static_cast<WPARAM>(index), MAKELPARAM(depth, open));
    folders_.push_back(path);
  };
  const std::filesystem::path shown(folder);
  std::filesystem::path step = shown.root_path();
  add(step.wstring(), step.wstring(), 0, true);
  int depth = 0;
  for (const std::filesystem::path& part : shown.relative_path()) {
    if (part.empty()) continue;
    step /= part;
    add(part.wstring(), step.wstring(), ++depth, true);
  }
  const auto current = static_cast<WPARAM>(folders_.size() - 1);
  for (const std::wstring& name : Subfolders(folder)) {
    add(name, JoinPath(folder, name), depth + 1, false);
  }
  SendMessageW(list_, LB_SETCURSEL, current, 0);
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

std::wstring DirectoryList::ChosenFolder() const {
  const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<size_t>(index) >= folders_.size()) return {};
  return folders_[static_cast<size_t>(index)];
}

void DirectoryList::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1)) {
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const LRESULT data = SendMessageW(item.hwndItem, LB_GETITEMDATA, item.itemID, 0);
  const int depth = LOWORD(data);
  const bool open = HIWORD(data) != 0;
  const int left = item.rcItem.left + 2 + depth * (iconSize_ * 3 / 4);
  const int height = item.rcItem.bottom - item.rcItem.top;
  if (HICON icon = open ? openFolderIcon_.get() : folderIcon_.get()) {
    DrawIconEx(item.hDC, left, item.rcItem.top + (height - iconSize_) / 2, icon, iconSize_,
               iconSize_, 0, nullptr, DI_NORMAL);
  }
  RECT text = item.rcItem;
  text.left = left + iconSize_ + 4;
  const std::wstring name = EntryText(item.hwndItem, item.itemID);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace qdvz::win32
