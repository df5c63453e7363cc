#pragma once

#include <string>
#include <string_view>

// The window's captions, status texts and questions.
namespace qdvz::ui_msg {

inline constexpr char16_t kStartCaption[] = u"ＱＤ→ＶＺ線変形データ変換";
inline constexpr char16_t kIdleCaption[] = u"線変形データ変換";
inline constexpr char16_t kReadingCaption[] = u"データを読み込み中";
inline constexpr char16_t kWritingCaption[] = u"データ書き込み中";

inline constexpr char16_t kChooseCommand[] = u"作業（コマンド）を選択してください";
inline constexpr char16_t kChooseFile[] = u"ファイルを選択してください";
inline constexpr char16_t kWrongDataExtension[] =
    u"拡張子が違います、正規のファイルを選択してください";
inline constexpr char16_t kReadingSuffix[] = u"を読み込み中";
inline constexpr char16_t kReadDone[] = u"読み込み完了";
inline constexpr char16_t kChooseSizeFile[] = u"文字サイズ設定データを選択してください";

inline constexpr char16_t kNameToSave[] = u"保存するファイル名を入力、又は選択してください";
inline constexpr char16_t kWrongSaveExtension[] =
    u"拡張子が違います、ファイルの拡張子を、dat・qdc・txtに変更してください";
inline constexpr char16_t kSaved[] = u"保存が完了しました";
// A save that would replace a file the window has loaded asks first; No saves nothing.
inline std::u16string ReplaceLoadedFile(std::u16string_view path) {
  return u"「" + std::u16string(path) +
         u"」は読み込んだファイルです。\n表示中の内容で置き換えますか？";
}
inline constexpr char16_t kNotSaved[] = u"保存しませんでした（読み込んだファイルはそのままです）";

inline constexpr char16_t kConvertingCaption[] = u"データの変換中";   // after the file name
inline constexpr char16_t kConvertingStatus[] = u"をデータの変換中";  // after the file name
inline constexpr char16_t kConverted[] = u"変換終了";

// A drop: the folder of the dropped file cannot be shown, or a folder was dropped; several
// files, of which only the first was taken: head, the number of files, tail.
inline constexpr char16_t kDropFolderMissing[] = u"ドロップされたファイルのフォルダを開けません";
inline constexpr char16_t kFolderDropped[] =
    u"フォルダは開けません、ファイルをドロップしてください";
inline constexpr char16_t kDroppedNoteHead[] = u"（ドロップされた";
inline constexpr char16_t kDroppedNoteTail[] = u"個のファイルのうち、最初の1個だけを扱いました）";

inline constexpr char16_t kErased[] = u"消去しました";
inline constexpr char16_t kRedisplayed[] = u"再表示しました";

}  // namespace qdvz::ui_msg
