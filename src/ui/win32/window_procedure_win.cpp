// The window procedure of the Win32 window, its commands and keys, and the message loop that
// also waits for changes of the shown folder.
#include "ui/win32/henkan_window.h"

#include <commctrl.h>

#include <cwctype>
#include <string>

namespace qdvz::win32 {

LRESULT CALLBACK HenkanWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<HenkanWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<HenkanWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->tooltips_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->OnMessage(message, wParam, lParam);
}

LRESULT HenkanWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_NEXTDLGCTL:
      // A multi-line edit box sends this for Tab; a dialog would move the focus on.
      MoveFocus(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(window_, GetFocus(), wParam != 0));
      return 0;
    case WM_DRAWITEM:
      if (wParam == static_cast<WPARAM>(ControlId::Dir1)) {
        dir1_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_SETTINGCHANGE:
      // The user chose another UI font or size: the captions are fitted to it again.
      if (wParam == SPI_SETNONCLIENTMETRICS) ApplyLayout(dpi_);
      break;
    case WM_DPICHANGED: {
      ApplyLayout(HIWORD(wParam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      folderChange_.reset();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void HenkanWindow::OnCommand(int id, int code) {
  if (id == IDOK) {  // Enter outside the buttons: in the directory list it opens the folder
    if (GetFocus() == Control(ControlId::Dir1)) Dir1_Open();
    return;
  }
  const int index = id - static_cast<int>(ControlId::Drive1);
  if (index < 0 || index >= kControlCount) return;
  const ControlSpec& spec = kControls[static_cast<size_t>(index)];
  switch (spec.kind) {
    case ControlKind::DriveList:
      if (code == CBN_SELCHANGE) form_.Drive1_Change();
      return;
    case ControlKind::DirectoryList:
      if (code == LBN_DBLCLK) Dir1_Open();
      return;
    case ControlKind::FileList:
      if (code == LBN_SELCHANGE) File1_Click();
      return;
    case ControlKind::Button:
      if (code == BN_CLICKED) form_.Click(spec.handler);
      return;
    default:
      return;
  }
}

void HenkanWindow::OnDropFiles(HDROP drop) {
  std::vector<std::u16string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
    DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
    paths.emplace_back(path.begin(), path.end());
  }
  DragFinish(drop);
  form_.Form_OLEDragDrop(paths);
}

void HenkanWindow::MoveFocus(HWND next) {
  if (next == nullptr) return;
  SetFocus(next);
  // As a dialog does: text reached by Tab is selected whole.
  if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    SendMessageW(next, EM_SETSEL, 0, -1);
  }
}

bool HenkanWindow::PreTranslate(MSG& message) {
  if (window_ == nullptr || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
    return false;
  }
  // A label's access key leads to the control it names, the one made before it; the dialog
  // keys would take the control after the label in tab order.
  if (message.message == WM_SYSCHAR) {
    const auto key = static_cast<char16_t>(std::towupper(static_cast<wint_t>(message.wParam)));
    for (size_t i = 0; i < kControls.size(); ++i) {
      if (kControls[i].kind == ControlKind::Label && AccessKey(kControls[i].caption) == key) {
        MoveFocus(Control(IdOf(LabelledControl(i))));
        return true;
      }
    }
  }
  return IsDialogMessageW(window_, &message) != FALSE;
}

namespace {

// Messages and changes of the shown folder until `milliseconds` have passed or WM_QUIT came.
bool Pump(HenkanWindow& window, DWORD milliseconds, int* exitCode) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        if (exitCode) *exitCode = static_cast<int>(message.wParam);
        return false;
      }
      if (!window.PreTranslate(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    DWORD wait = INFINITE;
    if (milliseconds != INFINITE) {
      const ULONGLONG now = GetTickCount64();
      if (now >= end) return true;
      wait = static_cast<DWORD>(end - now);
    }
    HANDLE change = window.FolderChange();
    const DWORD count = change ? 1 : 0;
    if (MsgWaitForMultipleObjectsEx(count, &change, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
            WAIT_OBJECT_0 &&
        count == 1) {
      window.OnFolderChange();
    }
  }
}

}  // namespace

int RunMessageLoop(HenkanWindow& window) {
  int exitCode = 0;
  while (Pump(window, INFINITE, &exitCode)) {
  }
  return exitCode;
}

bool PumpMessages(HenkanWindow& window, DWORD milliseconds) {
  return Pump(window, milliseconds, nullptr);
}

}  // namespace qdvz::win32
