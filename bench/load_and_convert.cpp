// load_and_convert SIZES DATA: the window's load and conversion without a toolkit: the real
// form (HenkanForm) driven through the tests' window whose controls are plain fields (its
// display box keeps its own copy of the text, as a window does), as the window would drive
// it: the character-size file loaded, the data file loaded (the form keeps its lines, the
// display box shows them), then QD→VZ. For measuring the memory of a load and a
// conversion (bench/memory.sh); prints what the form kept and said.
#include <cstdio>
#include <filesystem>
#include <string>

#include "convert/text.h"
#include "ui/fake_window.h"
#include "ui/henkan_form.h"

namespace {

using qdvz::test::FakeWindow;

// Chooses a file in the browser: its folder, then its name.
void Choose(FakeWindow& window, const char* file) {
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
  FakeWindow window;
  qdvz::HenkanForm form(window);
  Choose(window, argv[1]);
  form.datopen1_Click();
  Choose(window, argv[2]);
  form.DatOpen_Click();
  std::printf("loaded: %zu bytes in the lines, %zu units shown; %s\n", form.DataLines().size(),
              window.display.size(), qdvz::ToUtf8(window.Status()).c_str());
  form.DatCh_Click();
  std::printf("converted: %zu units shown; %s\n", window.display.size(),
              qdvz::ToUtf8(window.Status()).c_str());
  return 0;
}
