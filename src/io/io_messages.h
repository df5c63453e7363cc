#pragma once

#include <string>

#include "convert/text.h"
#include "cp932/cp932_messages.h"

// Status texts of loading and saving files (with those of code page 932).
namespace qdvz::msg {

// Reading.
// A data file longer than the window loads: the first lines are kept.
inline constexpr char16_t kTooManyLines[] = u"データ行が制限を越えました";
inline constexpr char16_t kUtf8File[] =
    u"UTF-8のファイルです。Shift-JIS（コードページ932）のファイルを選択してください";
inline constexpr char16_t kUtf16File[] =
    u"UTF-16のファイルです。Shift-JIS（コードページ932）のファイルを選択してください";
inline constexpr char16_t kNulInFile[] = u"テキストファイルではありません（NUL文字があります）";
inline constexpr char16_t kFileNotFound[] = u"ファイルが見つかりません";
inline constexpr char16_t kNoReadPermission[] = u"ファイルを開く権限がありません";
inline constexpr char16_t kFileTooLarge[] = u"ファイルが大きすぎます（256MiBを越えています）";
inline constexpr char16_t kNotRegularFile[] =
    u"通常のファイルではありません（パイプやデバイスは読み込めません）";
inline constexpr char16_t kIsFolder[] = u"フォルダーです。ファイルを選択してください";
inline constexpr char16_t kNoStandardInput[] = u"標準入力が閉じられています";
// open() of a socket, or of a device that is not there.
inline constexpr char16_t kCannotReadSocket[] =
    u"ソケットか、接続されていないデバイスです（ファイルとして読み込めません）";

// Writing.
inline constexpr char16_t kFolderNotFound[] = u"保存先のフォルダーが見つかりません";
inline constexpr char16_t kNoWritePermission[] = u"保存先に書き込む権限がありません";
inline constexpr char16_t kDiskFull[] = u"ディスクの空き容量が足りません";
inline constexpr char16_t kCannotSaveToFolder[] = u"フォルダーには保存できません";
inline constexpr char16_t kCannotSaveToPipe[] =
    u"通常のファイルではありません（パイプやソケットには保存できません）";
inline constexpr char16_t kCannotSaveToSocket[] =
    u"ソケットか、接続されていないデバイスです（ファイルとして保存できません）";
inline constexpr char16_t kReadOnlyFileSystem[] =
    u"読み取り専用の場所（ファイルシステムや媒体）には保存できません";
inline constexpr char16_t kFileInUse[] = u"ほかのプログラムがファイルを使用中です";
// A write to a pipe or socket whose reading end was closed.
inline constexpr char16_t kReaderGone[] =
    u"読み手のいないパイプです（読む側のプログラムが終了しました）";
// /dev/stdout, /dev/fd/1 and the like when that stream was closed.
inline constexpr char16_t kStreamClosed[] =
    u"書き込み先の標準出力（またはファイル記述子）が閉じられています";
// Making a folder where a file of that name is.
inline constexpr char16_t kFileInTheWay[] = u"同じ名前のファイルがあります";
// The window saves to no device: what it writes there is lost or never ends. The words are
// the platform's (io/posix/device_name.cpp, io/win32/device_name.cpp): Windows reads a reserved
// name as its device whatever the extension and folder, and they say so.
extern const char16_t kCannotSaveToDevice[];

// Names, whether read or written.
inline constexpr char16_t kLinkLoop[] =
    u"シンボリックリンクが循環しているか、たどるリンクが多すぎます";
inline constexpr char16_t kNameTooLong[] = u"ファイル名かパスが長すぎます";
inline constexpr char16_t kNotFolderOnPath[] = u"パスの途中にフォルダーではなくファイルがあります";
inline constexpr char16_t kInvalidName[] =
    u"ファイル名が正しくありません（使えない文字が含まれています）";
inline constexpr char16_t kTooManyOpenFiles[] = u"開いているファイルが多すぎます";
inline constexpr char16_t kDeviceError[] = u"装置の入出力エラーが起きました";
inline constexpr char16_t kDriveNotReady[] = u"ドライブの準備ができていません";

// "ファイルを読み込めません（エラー番号 N）"
inline std::u16string CannotRead(int error) {
  return u"ファイルを読み込めません（エラー番号 " + FromUtf8(std::to_string(error)) + u"）";
}

// "ファイルを書き込めません（エラー番号 N）"
inline std::u16string CannotWrite(int error) {
  return u"ファイルを書き込めません（エラー番号 " + FromUtf8(std::to_string(error)) + u"）";
}

}  // namespace qdvz::msg
