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

// A drop of one file: the folder of the dropped file cannot be shown, or a folder was dropped.
inline constexpr char16_t kDropFolderMissing[] = u"ドロップされたファイルのフォルダを開けません";
inline constexpr char16_t kFolderDropped[] =
    u"フォルダは開けません、ファイルをドロップしてください";

// A set of files dropped or opened at once: each file's outcome in the display box, after its
// path and kSetSeparator, or after kSetWritten and the name of the macro written.
inline constexpr char16_t kSetSeparator[] = u"：";
inline constexpr char16_t kSetWritten[] = u" → ";
inline constexpr char16_t kSetSizesLoaded[] = u"文字サイズ設定データとして読み込みました";
inline constexpr char16_t kSetExtraSizes[] =
    u"文字サイズ設定データは最初の1個だけを使います（変換しませんでした）";
inline constexpr char16_t kSetNotQdName[] =
    u"変換するファイルではありません（拡張子が dat・txt・vzm ではありません）";
inline constexpr char16_t kSetFolder[] = u"フォルダーは変換しません";
inline constexpr char16_t kSetNoSizes[] =
    u"文字サイズ設定データを読み込めなかったため、変換しませんでした";
inline constexpr char16_t kSetWouldReplaceInput[] =
    u"出力先が入力ファイルの一つなので、上書きせずに変換をやめました";
inline constexpr char16_t kSetDuplicateOutput[] =
    u"同じ名前の出力ファイルを、この中の別のファイルから書いたばかりです（上書きしませんでした）";
inline constexpr char16_t kSetKeptExisting[] = u"出力ファイルが既にあるため、変換しませんでした";
// The one question before existing outputs are replaced: head, one name a line, tail.
inline constexpr char16_t kSetReplaceHead[] = u"次の出力ファイルは既にあります。\n";
inline constexpr char16_t kSetReplaceTail[] =
    u"\n置き換えますか？（「いいえ」ならこれらの変換は行いません）";
// Said of the names beyond the first few in that question: "ほかN個".
inline constexpr char16_t kSetMoreHead[] = u"ほか";
inline constexpr char16_t kSetMoreTail[] = u"個";
// The status line afterwards: "N個のファイルを変換しました、M個は変換しませんでした".
inline constexpr char16_t kSetConvertedTail[] = u"個のファイルを変換しました、";
inline constexpr char16_t kSetNotConvertedTail[] = u"個は変換しませんでした";

inline constexpr char16_t kErased[] = u"消去しました";
inline constexpr char16_t kRedisplayed[] = u"再表示しました";

}  // namespace qdvz::ui_msg
