#pragma once

#include <string>

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
  // Moves the directory list to a folder, and with it the file list. False, and nothing
  // moves, when the path is not a folder that can be shown.
  virtual bool SetDirectoryPath(const std::u16string& path) = 0;
  // Lists the files of the shown directory again; the chosen file stays chosen while it is
  // there.
  virtual void RefreshFileList() = 0;

  virtual void SetCaption(const std::u16string& caption) = 0;
  virtual void SetStatus(const std::u16string& message) = 0;

  // The large display box. Lines in it are CR LF-separated on the way in and on the way out.
  virtual std::u16string DisplayText() const = 0;
  virtual void SetDisplayText(const std::u16string& text) = 0;

  // Asks the user a yes-or-no question before a step that cannot be undone, such as replacing
  // a file the window has loaded. No is the default answer: true only when the user says yes.
  virtual bool AskYesNo(const std::u16string& question) = 0;
};

}  // namespace qdvz
