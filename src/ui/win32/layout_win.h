#pragma once

// The look of the Win32 window: the classes and styles of the controls of kControls, their
// places in pixels at a dpi, and their fonts (the system's UI font, or the fixed-pitch text
// font), with captions fitted to their controls.
#ifdef _WIN32

#include <windows.h>

#include <string_view>

#include "ui/controls.h"
#include "ui/win32/handles.h"

namespace qdvz::win32 {

// The style of the main window, which its size at a dpi depends on.
inline constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

struct ControlClass {
  const wchar_t* name;
  DWORD style;  // with WS_CHILD | WS_VISIBLE, and WS_TABSTOP for the controls Tab reaches
  DWORD exStyle;
};
ControlClass ClassOf(ControlKind kind);

inline int TwipsToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), 1440);
}

// The system's message font, which Windows uses for dialogs, at a dpi.
LOGFONTW MessageFont(UINT dpi);
// The fixed-pitch text font of a control at a dpi.
LOGFONTW TextFont(const ControlFont& font, UINT dpi);
// The font a control's caption fits in: null where windowFont does, else a smaller size of it.
UniqueFont CaptionFont(HWND control, const ControlSpec& spec, const LOGFONTW& windowFont, UINT dpi);
// A drop-down list's height includes the list: makes the closed box `height` high.
void FitClosedHeight(HWND combo, int height);
// The height of the entries of a list that shows icons of `iconSize` beside text in `font`.
int ListEntryHeight(HWND list, HFONT font, int iconSize);

}  // namespace qdvz::win32

#endif  // _WIN32
