#include <windows.h>

#include "ui/win32/arguments_win.h"
#include "ui/win32/henkan_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  auto window = qdvz::win32::HenkanWindow::Create(instance);
  if (!window) {
    MessageBoxW(nullptr, L"ウィンドウを作成できません。", L"henkan", MB_ICONERROR | MB_OK);
    return 1;
  }
  ShowWindow(window->Handle(), show);
  UpdateWindow(window->Handle());
  // Files dropped onto the program's icon, or opened with it from Explorer.
  if (auto files = qdvz::win32::FileArguments(GetCommandLineW()); !files.empty()) {
    window->OpenFiles(files);
  }
  const int exitCode = qdvz::win32::RunMessageLoop(*window);
  return exitCode;
}
