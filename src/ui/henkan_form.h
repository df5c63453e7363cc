#pragma once

#include <exception>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/failure.h"
#include "convert/size_table.h"
#include "ui/controls.h"
#include "ui/window_ops.h"

namespace qdvz {

// The state and the handlers of the main window `henkan`, free of any widget: the window
// forwards each user action to one handler, and the handlers act on the controls through
// WindowOps. The form lives as long as the window.
class HenkanForm {
 public:
  explicit HenkanForm(WindowOps& window) : window_(window) {}

  void Form_Load();
  // The browser: a new drive moves the directory list to it; a new folder in the directory
  // list moves the drive list, the folder watch and the file list with it, no file chosen.
  void Drive1_Change();
  void Dir1_Change();
  // Lists the shown folder's files again, the chosen one still chosen while it is there.
  void RefreshFileList();
  void File1_Click(const std::u16string& name);
  void DatOpen_Click();
  void datopen1_Click();
  void DatCh_Click();
  void DatSave_Click();
  void Erase_Click();
  void hyouji_Click();
  void Exit_Click();
  // The handler a button of kControls names.
  void Click(Handler handler);
  // Files dropped onto the window, or given to the program when it starts. One file is opened
  // as if chosen in the browser and loaded by the button its name calls for. Several are
  // converted at once (ConvertFileSet): the display lists each file with its outcome, and the
  // status line says how many were converted and how many were not.
  void Form_OLEDragDrop(const std::vector<std::u16string>& paths);

  // The lines of the data file loaded last, as the file holds them (code page 932).
  const std::string& DataLines() const { return dataLines_; }
  const SizeItems& Sizes() const { return sizeItems_; }
  const std::u16string& SavedDisplay() const { return savedDisplay_; }

 private:
  std::u16string ChosenPath() const;
  // The first steps of both loads: a name with one of the extensions, then the status and
  // caption that say it is being read. The path to read, or nothing when it is refused.
  std::optional<std::u16string> BeginLoad(std::span<const std::u16string_view> extensions,
                                          const char16_t* wrongExtension);
  // A load that failed: why, and the caption back; nothing else changes.
  void EndFailedLoad(const Failure& why);
  // A handler that failed where nothing should (no memory left): why, and the caption back.
  void EndUnexpectedly(const std::exception& error) noexcept;
  void ConvertSet(const std::vector<std::u16string>& paths);
  void Say(std::u16string_view message);

  WindowOps& window_;
  // The data file's lines are kept as its bytes, which take half the room of their text: the
  // display box holds them decoded, and a conversion decodes them again.
  std::string dataLines_;
  SizeItems sizeItems_{};
  std::u16string savedDisplay_;
  // The paths of the QD data file and the character-size file loaded last: a save asks before
  // it replaces either.
  std::u16string loadedData_;
  std::u16string loadedSizes_;
};

}  // namespace qdvz
