#pragma once

#include <string>
#include <utility>

#include "ui/line_ends.h"

namespace qdvz {

// What the handlers of the main window need from its controls. The form's logic talks to the
// window only through this, so it can run against a plain fake in tests.
class WindowOps {
 public:
  virtual ~WindowOps() = default;

  virtual std::u16string FileNameText() const = 0;
  virtual void SetFileNameText(const std::u16string& text) = 0;

  // The directory that the directory list currently shows.
  virtual std::u16string DirectoryPath() const = 0;
  // Moves the directory list to a folder; the window then calls the form's Dir1_Change. False,
  // and nothing moves, when the path is not a folder that can be shown.
  virtual bool SetDirectoryPath(const std::u16string& path) = 0;

  // The drive chosen in the drive list, as a path to move the directory list to.
  virtual std::u16string ChosenDrive() const = 0;
  // Shows in the drive list the drive that holds the folder, without moving anything else.
  virtual void ShowDriveOf(const std::u16string& folder) = 0;
  // Watches the folder, one at a time, for files that appear or vanish: the window then calls
  // the form's RefreshFileList.
  virtual void WatchFolder(const std::u16string& folder) = 0;
  // The name chosen in the file list; empty when none is.
  virtual std::u16string ChosenFile() const = 0;
  // Lists the files of the shown directory that match kFilePattern, and chooses `chosen` when
  // it is among them (none when it is empty).
  virtual void ListFiles(const std::u16string& chosen) = 0;

  virtual void SetCaption(const std::u16string& caption) = 0;
  virtual void SetStatus(const std::u16string& message) = 0;

  // The large display box. Its lines end in CR LF on the way out; on the way in CR LF, a lone
  // CR and a lone LF each end one line, and the box is given CR LF alone.
  virtual std::u16string DisplayText() const = 0;
  // The box takes the text over: a large text is never held twice on its way in.
  void SetDisplayText(std::u16string text) {
    if (!HasCrLfAlone(text)) text = WithCrLf(text);
    ShowDisplayText(std::move(text));
  }

  // Asks the user a yes-or-no question before a step that cannot be undone, such as replacing
  // a file the window has loaded. No is the default answer: true only when the user says yes.
  virtual bool AskYesNo(const std::u16string& question) = 0;

  // Closes the window, which ends the program.
  virtual void Close() = 0;

 protected:
  // Shows text whose lines end in CR LF, each line end once, in the display box.
  virtual void ShowDisplayText(std::u16string text) = 0;
};

}  // namespace qdvz
