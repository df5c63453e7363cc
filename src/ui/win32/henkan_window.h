#pragma once

// The Win32 binding is Windows code through and through.
#ifdef _WIN32

#include <windows.h>
// After windows.h, which leaves it out when lean.
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/henkan_form.h"
#include "ui/window_ops.h"

namespace qdvz::win32 {

// The controls of the window, numbered in tab order; the number is the control's id.
enum class ControlId : int {
  Drive1 = 100,
  Dir1,
  File1,
  DisplayBox,
  FileName,
  Label1,
  Erase,
  DatOpen,
  DatCh,
  DatSave,
  Exit,
  dbox,
  datopen1,
  hyouji,
};
inline constexpr int kControlCount = 14;

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;

// The main window `henkan` on Windows' own controls: the browser (Drive1, Dir1, File1), the
// file-name box, the display box, the status line dbox and the seven buttons, at fixed places
// given in twips and scaled to the monitor's dpi, in the system's UI font (a caption that does
// not fit in it gets a smaller size of it). Each user action calls one handler of
// HenkanForm; the browser chain and the watch on the shown folder are handled here.
class HenkanWindow final : public WindowOps {
 public:
  // Makes the window, not yet shown, with its lists in the working directory. Null when
  // Windows refuses to make it.
  static std::unique_ptr<HenkanWindow> Create(HINSTANCE instance);
  ~HenkanWindow() override;
  HenkanWindow(const HenkanWindow&) = delete;
  HenkanWindow& operator=(const HenkanWindow&) = delete;

  // Null once the window is closed.
  HWND Handle() const { return window_; }
  HWND Control(ControlId id) const;
  HWND Tooltips() const { return tooltips_; }

  // Lets the dialog keys (Tab, the access keys) act on a message before it is dispatched;
  // true when they took it.
  bool PreTranslate(MSG& message);
  // Signalled when files appear in or vanish from the shown folder; null while none is
  // watched. OnFolderChange lists the folder again and waits for the next change.
  HANDLE FolderChange() const { return folderChange_; }
  void OnFolderChange();

  std::u16string FileNameText() const override;
  void SetFileNameText(const std::u16string& text) override;
  std::u16string DirectoryPath() const override;
  bool SetDirectoryPath(const std::u16string& path) override;
  void RefreshFileList() override;
  void SetCaption(const std::u16string& caption) override;
  void SetStatus(const std::u16string& message) override;
  // The box holds CR LF line ends and gives them back; a lone CR or LF on the way in becomes
  // CR LF too, since the box breaks lines at CR LF only.
  std::u16string DisplayText() const override;
  void SetDisplayText(const std::u16string& text) override;
  bool AskYesNo(const std::u16string& question) override;

  // Files given to the program when it starts, opened as a drop of them would be.
  void OpenFiles(const std::vector<std::u16string>& paths) { form_.Form_OLEDragDrop(paths); }

 private:
  HenkanWindow() = default;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls(HINSTANCE instance);
  void ApplyLayout(UINT dpi);
  void OnCommand(int id, int code);
  void OnDropFiles(HDROP drop);
  void MoveFocus(HWND next);
  void DrawDirectoryEntry(const DRAWITEMSTRUCT& item) const;

  bool ShowDirectory(const std::wstring& path);
  void FillDrives();
  void ShowDriveOf(const std::wstring& path);
  void FillDirectoryList();
  void WatchFolder();
  void StopWatching();

  void Drive1_Change();
  void Dir1_Open();
  void File1_Click();

  HWND window_ = nullptr;
  HWND tooltips_ = nullptr;
  HANDLE folderChange_ = nullptr;
  std::wstring directory_;
  std::vector<std::wstring> directoryEntries_;  // the folder behind each entry of Dir1
  UniqueFont windowFont_;
  std::array<UniqueFont, kControlCount> controlFonts_;
  HICON folderIcon_ = nullptr;
  HICON openFolderIcon_ = nullptr;
  int iconSize_ = 16;
  UINT dpi_ = 96;  // of the layout
  HenkanForm form_{*this};
};

// Runs the window's messages and folder changes until it is closed; the exit code.
int RunMessageLoop(HenkanWindow& window);
// The same for a while: until `milliseconds` have passed (true), or until the window is
// closed (false).
bool PumpMessages(HenkanWindow& window, DWORD milliseconds);

}  // namespace qdvz::win32

#endif  // _WIN32
