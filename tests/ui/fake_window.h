#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "io/file_path.h"
#include "ui/ui_messages.h"
#include "ui/window_ops.h"

namespace qdvz::test {

// Records every effect on the window in order, so tests can check what a handler did and
// what it left alone.
class FakeWindow : public WindowOps {
 public:
  std::u16string fileName;
  std::u16string directory;
  std::u16string caption = ui_msg::kStartCaption;
  std::u16string status;
  std::u16string display;
  std::vector<std::u16string> effects;

  std::u16string FileNameText() const override { return fileName; }
  void SetFileNameText(const std::u16string& text) override {
    fileName = text;
    effects.push_back(u"name=" + text);
  }
  std::u16string DirectoryPath() const override { return directory; }
  bool SetDirectoryPath(const std::u16string& path) override {
    effects.push_back(u"dir=" + path);
    std::error_code error;
    if (!std::filesystem::is_directory(ToFsPath(path), error)) return false;
    directory = path;
    return true;
  }
  void RefreshFileList() override { effects.push_back(u"refresh"); }
  void SetCaption(const std::u16string& text) override {
    caption = text;
    effects.push_back(u"caption=" + text);
  }
  void SetStatus(const std::u16string& text) override {
    status = text;
    effects.push_back(u"status=" + text);
  }
  std::u16string DisplayText() const override { return display; }
  void SetDisplayText(const std::u16string& text) override {
    display = text;
    effects.push_back(u"display=" + text);
  }
};

// The entries of FakeWindow::effects.
inline std::u16string Caption(std::u16string_view text) {
  return u"caption=" + std::u16string(text);
}
inline std::u16string Status(std::u16string_view text) {
  return u"status=" + std::u16string(text);
}
inline std::u16string Display(std::u16string_view text) {
  return u"display=" + std::u16string(text);
}
inline std::u16string Name(std::u16string_view text) {
  return u"name=" + std::u16string(text);
}
inline std::u16string Dir(std::u16string_view text) {
  return u"dir=" + std::u16string(text);
}

}  // namespace qdvz::test
