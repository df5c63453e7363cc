#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace qdvz {

using namespace std::string_view_literals;

// The window's controls as every binding makes them: one row per control, in the order they
// are made. Qt and Win32 build their windows from this table, and a new control is one row
// here, one kind (if it is a new kind) in each binding, and one row of tests/data/controls.tsv.

// What a control is, whatever the toolkit calls it.
enum class ControlKind {
  DriveList,      // a drop-down list of the drives
  DirectoryList,  // the folders from the root down to the shown one, and its subfolders
  FileList,       // the files of the shown folder that match kFilePattern
  TextBox,        // many lines, scrolled both ways, never wrapped
  LineBox,        // one line the user types
  StatusLine,     // one line the program writes
  Label,          // a caption naming the control made just before it
  Button,
};

// The form's handler that a control's action calls; None for controls the form only reads or
// writes.
enum class Handler {
  None,
  Drive1_Change,
  Dir1_Change,
  File1_Click,
  DatOpen_Click,
  datopen1_Click,
  DatCh_Click,
  DatSave_Click,
  Erase_Click,
  hyouji_Click,
  Exit_Click,
};

// A control's font: the window's own font (the system's UI font) where centipoints is 0,
// else kTextFace, fixed-pitch, at centipoints / 100 points.
struct ControlFont {
  int centipoints = 0;
  bool fixedPitch = false;
};

struct ControlSpec {
  std::string_view name;
  ControlKind kind;
  std::u16string_view caption;  // buttons and labels; '&' marks the access key
  std::u16string_view tooltip;
  int left, top, width, height;  // twips of the client area
  ControlFont font;
  Handler handler;
};

// The layout is given in twips, 1/1440 inch, of the client area.
inline constexpr int kClientWidthTwips = 8460;
inline constexpr int kClientHeightTwips = 6345;

// The files the file list shows, patterns separated by ';', matched regardless of case.
inline constexpr std::u16string_view kFilePattern = u"*.dat;*.txt;*.qdc;*.vzm";
// The face of the fixed-pitch Japanese font of the text boxes and the file list.
inline constexpr std::u16string_view kTextFace = u"ＭＳ ゴシック";

inline constexpr ControlFont kWindowFont{};
inline constexpr ControlFont kFileListFont{1006, true};
inline constexpr ControlFont kDisplayFont{1084, true};
inline constexpr ControlFont kFileNameFont{929, true};
inline constexpr int kButtonWidth = 1095;
inline constexpr int kButtonHeight = 375;

inline constexpr std::array<ControlSpec, 14> kControls = {{
    {"Drive1", ControlKind::DriveList, u"", u"", 120, 720, 2535, 300, kWindowFont,
     Handler::Drive1_Change},
    {"Dir1", ControlKind::DirectoryList, u"", u"", 120, 1080, 2535, 1560, kWindowFont,
     Handler::Dir1_Change},
    {"File1", ControlKind::FileList, u"", u"", 2760, 720, 2895, 1845, kFileListFont,
     Handler::File1_Click},
    {"DisplayBox", ControlKind::TextBox, u"", u"", 120, 2760, 8175, 3135, kDisplayFont,
     Handler::None},
    {"FileName", ControlKind::LineBox, u"", u"ファイル名を入力してください", 1440, 240, 2655, 270,
     kFileNameFont, Handler::None},
    {"Label1", ControlKind::Label, u"ファイル名(&N)  ：", u"", 120, 240, 1335, 255, kWindowFont,
     Handler::None},
    {"Erase", ControlKind::Button, u"消去(&E)", u"表示を消去します", 5880, 1680, kButtonWidth,
     kButtonHeight, kWindowFont, Handler::Erase_Click},
    {"DatOpen", ControlKind::Button, u"開く(&O)", u"ファイルを開きます", 5880, 720, kButtonWidth,
     kButtonHeight, kWindowFont, Handler::DatOpen_Click},
    {"DatCh", ControlKind::Button, u"QD→VZ", u"データを変換します", 7080, 1200, kButtonWidth,
     kButtonHeight, kWindowFont, Handler::DatCh_Click},
    {"DatSave", ControlKind::Button, u"保存(&S)", u"保存します", 7080, 720, kButtonWidth,
     kButtonHeight, kWindowFont, Handler::DatSave_Click},
    {"Exit", ControlKind::Button, u"終了(&X)", u"プログラムを終了します", 7080, 2160, kButtonWidth,
     kButtonHeight, kWindowFont, Handler::Exit_Click},
    {"dbox", ControlKind::StatusLine, u"", u"", 120, 6000, 8175, 270, kWindowFont, Handler::None},
    {"datopen1", ControlKind::Button, u"文字ｻｲｽﾞ", u"文字データを読みこみます", 5880, 1200,
     kButtonWidth, kButtonHeight, kWindowFont, Handler::datopen1_Click},
    {"hyouji", ControlKind::Button, u"再表示", u"直前に消去されたデータを再表示します", 7080, 1680,
     kButtonWidth, kButtonHeight, kWindowFont, Handler::hyouji_Click},
}};

// The place in kControls of the control a label names: the one made just before it.
inline constexpr size_t LabelledControl(size_t label) {
  return label - 1;
}

// The place in kControls of the control called name; kControls.size() when there is none.
constexpr size_t ControlIndex(std::string_view name) {
  for (size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].name == name) return i;
  }
  return kControls.size();
}

// Whether Tab reaches the control. Tab goes through the controls in the order they are made,
// and passes over the labels.
constexpr bool IsTabStop(const ControlSpec& control) {
  return control.kind != ControlKind::Label;
}

// The key that '&' marks in a caption, which Alt with it clicks (a button) or focuses (the
// control a label names); 0 when there is none.
constexpr char16_t AccessKey(std::u16string_view caption) {
  const size_t mark = caption.find(u'&');
  return mark == std::u16string_view::npos || mark + 1 == caption.size() ? 0 : caption[mark + 1];
}

}  // namespace qdvz
