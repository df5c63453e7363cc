#pragma once

// The directory list Dir1 on a Windows list box: the folders from the root down to the shown
// one, opened, and the shown one's subfolders below, each with the shell's folder icon.
#ifdef _WIN32

#include <windows.h>

#include <string>
#include <vector>

#include "ui/win32/handles.h"

namespace qdvz::win32 {

class DirectoryList {
 public:
  // The list box is owner-drawn (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS) and owned by the window.
  void Attach(HWND list);
  // Lists the folders for `folder`, a full path, and chooses it.
  void Show(const std::wstring& folder);
  // The folder behind the chosen entry; empty when none is chosen.
  std::wstring ChosenFolder() const;
  // For WM_DRAWITEM of the list.
  void Draw(const DRAWITEMSTRUCT& item) const;
  void SetIconSize(int pixels) { iconSize_ = pixels; }
  int IconSize() const { return iconSize_; }

 private:
  HWND list_ = nullptr;
  std::vector<std::wstring> folders_;  // the folder behind each entry
  UniqueIcon folderIcon_;
  UniqueIcon openFolderIcon_;
  int iconSize_ = 16;
};

// The full path of a path, without a separator at its end but for a drive's root ("C:\");
// empty when it has none.
std::wstring FullPath(const std::wstring& path);
// The path of a name in a folder, by the rule the form builds its paths with.
std::wstring JoinPath(const std::wstring& folder, std::wstring_view name);

}  // namespace qdvz::win32

#endif  // _WIN32
