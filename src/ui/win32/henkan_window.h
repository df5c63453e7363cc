#pragma once

// The Win32 binding is Windows code through and through.
#ifdef _WIN32

#include <windows.h>
// After windows.h, which leaves it out when lean.
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/henkan_form.h"
#include "ui/win32/directory_list_win.h"
#include "ui/win32/handles.h"
#include "ui/window_ops.h"

namespace qdvz::win32 {

// The controls of the window, numbered in the order of kControls; the number is the control's
// id.
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
static_assert(kControls.size() == kControlCount);

// The id of the control made from kControls[index].
constexpr ControlId IdOf(size_t index) {
  return static_cast<ControlId>(static_cast<int>(ControlId::Drive1) + static_cast<int>(index));
}
constexpr const ControlSpec& SpecOf(ControlId id) {
  return kControls[static_cast<size_t>(static_cast<int>(id) - static_cast<int>(ControlId::Drive1))];
}
static_assert(SpecOf(ControlId::Drive1).name == "Drive1");
static_assert(SpecOf(ControlId::FileName).name == "FileName");
static_assert(SpecOf(ControlId::hyouji).name == "hyouji");

// The main window `henkan` on Windows' own controls: the browser (Drive1, Dir1, File1), the
// file-name box, the display box, the status line dbox and the seven buttons, made from
// kControls at fixed places given in twips and scaled to the monitor's dpi, in the system's UI
// font (a caption that does not fit in it gets a smaller size of it). Each user action calls
// one handler of HenkanForm, and the form drives the controls through WindowOps.
// The window procedure and the message loop are in window_procedure_win.cpp, the layout in
// layout_win.cpp, the directory list in directory_list_win.cpp.
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
  HANDLE FolderChange() const { return folderChange_.get(); }
  void OnFolderChange();

  std::u16string FileNameText() const override;
  void SetFileNameText(const std::u16string& text) override;
  std::u16string DirectoryPath() const override;
  bool SetDirectoryPath(const std::u16string& path) override;
  std::u16string ChosenDrive() const override;
  void ShowDriveOf(const std::u16string& folder) override;
  void WatchFolder(const std::u16string& folder) override;
  std::u16string ChosenFile() const override;
  void ListFiles(const std::u16string& chosen) override;
  void SetCaption(const std::u16string& caption) override;
  void SetStatus(const std::u16string& message) override;
  // The box holds CR LF line ends and gives them back.
  std::u16string DisplayText() const override;
  bool AskYesNo(const std::u16string& question) override;
  void Close() override;

  // Files given to the program when it starts, opened as a drop of them would be.
  void OpenFiles(const std::vector<std::u16string>& paths) { form_.Form_OLEDragDrop(paths); }

 protected:
  void ShowDisplayText(std::u16string text) override;

 private:
  HenkanWindow() = default;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls(HINSTANCE instance);
  void ApplyLayout(UINT dpi);
  void OnCommand(int id, int code);
  void OnDropFiles(HDROP drop);
  void MoveFocus(HWND next);

  // Moves Dir1 to a folder, and the rest of the browser with it through the form; false when
  // the path is no folder.
  bool ShowDirectory(const std::wstring& path);
  void FillDrives();
  void Dir1_Open();
  void File1_Click();

  HWND window_ = nullptr;
  HWND tooltips_ = nullptr;
  UniqueChangeNotification folderChange_;
  std::wstring directory_;
  DirectoryList dir1_;
  UniqueIcon icon_;
  UniqueIcon smallIcon_;
  UniqueFont windowFont_;
  std::array<UniqueFont, kControlCount> controlFonts_;
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
