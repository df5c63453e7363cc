#pragma once

#include <cstddef>

// Every limit of the data and of the macro, in one place. The messages that name a limit
// (messages.h, io_messages.h) say the same numbers in words.
namespace qdvz {

// The largest file read (a QD data file, a character-size file, standard input). No such
// file comes near it; a larger one (or a device such as /dev/zero, which never ends) is
// refused instead of filling the memory.
inline constexpr size_t kMaxFileBytes = size_t{256} << 20;

// The data lines loaded from a file; later lines are left unread, with a warning.
inline constexpr int kMaxLoadedLines = 1199;

// The data lines the conversion looks at (the form's line array holds as many).
inline constexpr int kDataLineSlots = 1201;

// The longest record converted, in UTF-16 units; a longer one is refused.
inline constexpr size_t kMaxRecordLength = 32767;

// The macro's lines are slots 0 to kLastMacroSlot; the last line of a document is the empty
// slot after its last statement, so a run that would need more is refused.
inline constexpr int kLastMacroSlot = 1200;
inline constexpr int kMacroSlots = kLastMacroSlot + 1;

// The character-size table: kSizeSlots items. A text's size number n (1 to kMaxSizeNumber)
// takes its two sizes from slots n - 1 and n - 1 + kSecondSizeOffset.
inline constexpr int kSizeSlots = 51;
inline constexpr int kSecondSizeOffset = 10;
inline constexpr int kMaxSizeNumber = 41;
static_assert(kMaxSizeNumber - 1 + kSecondSizeOffset < kSizeSlots);

}  // namespace qdvz
