// load_and_convert SIZES DATA: the window's load and conversion without a toolkit: the real
// form (HenkanForm) driven through a window whose controls are plain fields, as the window
// would drive it: the character-size file loaded, the data file loaded (the form keeps its
// lines, the display box shows them), then QD→VZ. For measuring the memory of a load and a
// conversion (bench/memory.sh); prints what the form kept and said.
#include <cstdio>
#include <filesystem>
#include <string>

#include "convert/text.h"
#include "ui/henkan_form.h"
#include "ui/window_ops.h"

namespace {

// The controls as fields. The display box keeps its own copy of the text, as a window does.
class PlainWindow : public qdvz::WindowOps {
 public:
  std::u16string fileName, directory, caption, status, display;

  std::u16string FileNameText() const override { return fileName; }
  void SetFileNameText(const std::u16string& text) override { fileName = text; }
  std::u16string DirectoryPath() const override { return directory; }
  bool SetDirectoryPath(const std::u16string& path) override {
    directory = path;
    return true;
  }
  void RefreshFileList() override {}
  void SetCaption(const std::u16string& text) override { caption = text; }
  void SetStatus(const std::u16string& text) override { status = text; }
  std::u16string DisplayText() const override { return display; }
  void SetDisplayText(const std::u16string& text) override { display = text; }
  bool AskYesNo(const std::u16string&) override { return false; }
};

// Chooses a file in the browser: its folder, then its name.
void Choose(PlainWindow& window, const char* file) {
  std::filesystem::path path = std::filesystem::absolute(file);
  window.directory = path.parent_path().u16string();
  window.fileName = path.filename().u16string();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: load_and_convert SIZES DATA\n");
    return 2;
  }
  PlainWindow window;
  qdvz::HenkanForm form(window);
  Choose(window, argv[1]);
  form.datopen1_Click();
  Choose(window, argv[2]);
  form.DatOpen_Click();
  size_t kept = 0;
  for (const std::u16string& line : form.DataLines()) kept += line.size();
  std::printf("loaded: %zu units in the lines, %zu shown; %s\n", kept, window.display.size(),
              qdvz::ToUtf8(window.status).c_str());
  form.DatCh_Click();
  std::printf("converted: %zu units shown; %s\n", window.display.size(),
              qdvz::ToUtf8(window.status).c_str());
  return 0;
}
