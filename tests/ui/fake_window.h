#pragma once

#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "io/fs_path.h"
#include "ui/ui_messages.h"
#include "ui/window_ops.h"

namespace qdvz::test {

// The controls as plain fields, with every status and caption ever shown kept in order: what
// a handler said on its way, not only where it ended.
class FakeWindow : public WindowOps {
 public:
  std::u16string fileName;
  std::u16string directory;
  std::u16string caption = ui_msg::kStartCaption;
  std::u16string display;
  std::vector<std::u16string> statuses;
  std::vector<std::u16string> captions;
  int refreshes = 0;  // times the file list was listed
  // The browser: the drive chosen, the drive shown, the folder watched, the files listed and
  // the one chosen among them.
  std::u16string chosenDrive;
  std::u16string driveShown;
  std::u16string watched;
  std::u16string chosenFile;
  bool closed = false;
  // Every question asked, in order, and the answer the user gives to each.
  std::vector<std::u16string> questions;
  bool answer = false;
  // Thrown from FileNameText(), which every handler reads first: a handler failing where
  // nothing should, as when memory runs out.
  std::exception_ptr failure;

  std::u16string FileNameText() const override {
    if (failure) std::rethrow_exception(failure);
    return fileName;
  }
  void SetFileNameText(const std::u16string& text) override { fileName = text; }
  std::u16string DirectoryPath() const override { return directory; }
  bool SetDirectoryPath(const std::u16string& path) override {
    std::error_code error;
    if (!std::filesystem::is_directory(ToFsPath(path), error)) return false;
    directory = path;
    return true;
  }
  std::u16string ChosenDrive() const override { return chosenDrive; }
  void ShowDriveOf(const std::u16string& folder) override { driveShown = folder; }
  void WatchFolder(const std::u16string& folder) override { watched = folder; }
  std::u16string ChosenFile() const override { return chosenFile; }
  void ListFiles(const std::u16string& chosen) override {
    ++refreshes;
    chosenFile = chosen;
  }
  void SetCaption(const std::u16string& text) override {
    caption = text;
    captions.push_back(text);
  }
  void SetStatus(const std::u16string& text) override { statuses.push_back(text); }
  std::u16string Status() const { return statuses.empty() ? u"" : statuses.back(); }
  std::u16string DisplayText() const override { return display; }
  void Close() override { closed = true; }
  bool AskYesNo(const std::u16string& question) override {
    questions.push_back(question);
    return answer;
  }

 protected:
  void ShowDisplayText(std::u16string text) override {
    // Swapped, not assigned: a short text assigned would be copied into the room of the
    // text before, and the box would hold on to that room as a real one does not.
    display.swap(text);
  }
};

}  // namespace qdvz::test
