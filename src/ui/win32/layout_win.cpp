#include "ui/win32/layout_win.h"

#include "ui/win32/henkan_window.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace qdvz::win32 {
namespace {

// A caption as its control shows it: "&N" underlines N, "&&" is one '&'.
std::wstring ShownCaption(std::u16string_view caption) {
  std::wstring shown;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    shown += static_cast<wchar_t>(caption[i]);
  }
  return shown;
}

// The room a caption has in its control of the given size: a label's whole box; a button's
// inside its raised frame and focus rectangle.
SIZE CaptionRoom(ControlKind kind, SIZE box, UINT dpi) {
  if (kind != ControlKind::Button) return box;
  const int edge = 3 * GetSystemMetricsForDpi(SM_CXEDGE, dpi);
  return {box.cx - 2 * edge, box.cy - 2 * GetSystemMetricsForDpi(SM_CYEDGE, dpi)};
}

}  // namespace

ControlClass ClassOf(ControlKind kind) {
  constexpr DWORD kList = WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  switch (kind) {
    case ControlKind::DriveList:
      return {WC_COMBOBOXW, WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::DirectoryList:
      return {WC_LISTBOXW, kList | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, WS_EX_CLIENTEDGE};
    case ControlKind::FileList:
      return {WC_LISTBOXW, kList | LBS_SORT, WS_EX_CLIENTEDGE};
    case ControlKind::TextBox:
      return {WC_EDITW,
              WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL |
                  ES_WANTRETURN | ES_NOHIDESEL,
              WS_EX_CLIENTEDGE};
    case ControlKind::LineBox:
      return {WC_EDITW, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::StatusLine:
      return {WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Label:
      return {WC_STATICW, SS_LEFT, 0};
    case ControlKind::Button:
      return {WC_BUTTONW, BS_PUSHBUTTON, 0};
  }
  return {WC_STATICW, 0, 0};
}

LOGFONTW MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    return metrics.lfMessageFont;
  }
  // Scaled from the system's dpi, which the plain call measures in.
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                          static_cast<int>(GetDpiForSystem()));
  return metrics.lfMessageFont;
}

LOGFONTW TextFont(const ControlFont& font, UINT dpi) {
  LOGFONTW text{};
  text.lfHeight = -MulDiv(font.centipoints, static_cast<int>(dpi), 72 * 100);
  text.lfWeight = FW_NORMAL;
  text.lfCharSet = SHIFTJIS_CHARSET;
  text.lfPitchAndFamily = (font.fixedPitch ? FIXED_PITCH : VARIABLE_PITCH) | FF_MODERN;
  const size_t length = std::min(kTextFace.size(), std::size(text.lfFaceName) - 1);
  std::copy_n(kTextFace.begin(), length, text.lfFaceName);
  return text;
}

// The window's font where the caption fits its room, else the same face as much smaller as it
// takes to fit, so that a wide UI font neither wraps nor cuts a caption of the fixed layout.
UniqueFont CaptionFont(HWND control, const ControlSpec& spec, const LOGFONTW& windowFont,
                       UINT dpi) {
  const SIZE box{TwipsToPixels(spec.width, dpi), TwipsToPixels(spec.height, dpi)};
  const SIZE room = CaptionRoom(spec.kind, box, dpi);
  const std::wstring shown = ShownCaption(spec.caption);
  const WindowDc dc(control);
  UniqueFont fitting;
  LOGFONTW font = windowFont;
  const LONG sign = font.lfHeight < 0 ? -1 : 1;
  for (;;) {
    UniqueFont trial(CreateFontIndirectW(&font));
    SIZE extent{};
    {
      const Selection selected(dc.get(), trial.get());
      GetTextExtentPoint32W(dc.get(), shown.c_str(), static_cast<int>(shown.size()), &extent);
    }
    // Fits, or too small to shrink further (a few pixels: better cut than unreadable).
    if ((extent.cx <= room.cx && extent.cy <= room.cy) || sign * font.lfHeight <= 6) {
      if (font.lfHeight != windowFont.lfHeight) fitting = std::move(trial);
      break;
    }
    font.lfHeight -= sign;
  }
  return fitting;
}

// The frame is measured with a trial field height, since what CB_GETITEMHEIGHT reports
// differs between Windows and wine.
void FitClosedHeight(HWND combo, int height) {
  SendMessageW(combo, CB_SETITEMHEIGHT, WPARAM(-1), height);
  RECT box;
  GetWindowRect(combo, &box);
  const int frame = (box.bottom - box.top) - height;
  SendMessageW(combo, CB_SETITEMHEIGHT, WPARAM(-1), std::max(1, height - frame));
}

int ListEntryHeight(HWND list, HFONT font, int iconSize) {
  const WindowDc dc(list);
  const Selection selected(dc.get(), font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  return std::max<int>(metrics.tmHeight, iconSize) + 2;
}

// Places the controls and makes their fonts for a dpi: at the start, when the window moves to a
// monitor of another dpi, and when the user picks another UI font.
void HenkanWindow::ApplyLayout(UINT dpi) {
  dpi_ = dpi;
  const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  const LOGFONTW message = MessageFont(dpi);
  UniqueFont windowFont(CreateFontIndirectW(&message));
  for (size_t i = 0; i < kControls.size(); ++i) {
    const ControlSpec& spec = kControls[i];
    const HWND control = Control(IdOf(i));
    UniqueFont font;
    if (spec.font.centipoints != 0) {
      const LOGFONTW text = TextFont(spec.font, dpi);
      font.reset(CreateFontIndirectW(&text));
    } else if (!spec.caption.empty()) {
      font = CaptionFont(control, spec, message, dpi);
    }
    SendMessageW(control, WM_SETFONT,
                 reinterpret_cast<WPARAM>(font ? font.get() : windowFont.get()), FALSE);
    controlFonts_[i] = std::move(font);  // the old one only now, once no control uses it
    // Room for eight entries below the closed drop-down list.
    const int height = spec.kind == ControlKind::DriveList ? px(spec.height) * 9 : px(spec.height);
    SetWindowPos(control, nullptr, px(spec.left), px(spec.top), px(spec.width), height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont.get()), FALSE);
  windowFont_ = std::move(windowFont);

  FitClosedHeight(Control(ControlId::Drive1), px(SpecOf(ControlId::Drive1).height));
  dir1_.SetIconSize(GetSystemMetricsForDpi(SM_CXSMICON, dpi));
  SendMessageW(Control(ControlId::Dir1), LB_SETITEMHEIGHT, 0,
               ListEntryHeight(Control(ControlId::Dir1), windowFont_.get(), dir1_.IconSize()));

  RECT frame{0, 0, px(kClientWidthTwips), px(kClientHeightTwips)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace qdvz::win32
