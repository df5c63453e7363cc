#include <windows.h>

#include "ui/win32/henkan_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  auto window = qdvz::win32::HenkanWindow::Create(instance);
  if (!window) {
    MessageBoxW(nullptr, L"ウィンドウを作成できません。", L"henkan", MB_ICONERROR | MB_OK);
    return 1;
  }
  ShowWindow(window->Handle(), show);
  UpdateWindow(window->Handle());
  const int exitCode = qdvz::win32::RunMessageLoop(*window);
  return exitCode;
}
