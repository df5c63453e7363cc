#pragma once

// The conversion's own status texts.
namespace qdvz::msg {

inline constexpr char16_t kNotQdData[] = u"ＱＤのデータではありません";
inline constexpr char16_t kNoSizeData[] = u"文字サイズのデータがありません";

// Refusals of the run where the data goes beyond what the macro format can hold.
inline constexpr char16_t kIntegerOutOfRange[] = u"数値が整数の範囲（-32768～32767）を越えています";
inline constexpr char16_t kSizeNumberOutOfRange[] = u"文字サイズ番号が1～41の範囲にありません";
inline constexpr char16_t kMacroFull[] = u"変換結果がマクロの行数の制限（1200行）を越えました";
inline constexpr char16_t kRecordTooLong[] = u"レコードが32767文字を越えています";
inline constexpr char16_t kFactorOutOfRange[] = u"円弧の倍率が単精度の範囲を越えています";
inline constexpr char16_t kUnclosedQuote[] = u"引用符（\"）が閉じていません";

// A character-size file with more items than the table has slots: the first 51 are kept.
inline constexpr char16_t kSizeItemsOverflow[] =
    u"文字サイズのデータが51個を越えました（52個目から後は読み込みません）";

// An exception where none was expected: memory ran out, or what the exception says, "）".
inline constexpr char16_t kOutOfMemory[] = u"メモリーが足りません";
inline constexpr char16_t kUnexpected[] = u"予期しないエラーが起きました（";

}  // namespace qdvz::msg
