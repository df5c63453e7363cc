#pragma once

#include <string>
#include <string_view>

namespace qdvz {

// The line ends of the display box: text read from a file may end its lines in CR LF, a lone
// CR or a lone LF, and each of them ends one line in the box, which holds CR LF alone.

// Whether every CR of the text is followed by LF and every LF follows CR.
bool HasCrLfAlone(std::u16string_view text);
// The text with each CR LF, lone CR and lone LF made CR LF.
std::u16string WithCrLf(std::u16string_view text);

}  // namespace qdvz
