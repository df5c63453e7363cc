#pragma once

#include <string>

namespace qdvz::bench {

// A QD data file of exactly `lines` lines (CR LF, code page 932) that mixes every kind of
// record: Japanese comments, block headers, scale records, line, arc, dot and text elements
// (with Japanese texts), block ends and a last block with its reference lines. Every block
// carries `variant` in its name, so that files made with different variants differ. The
// file converts without refusal for any line count up to 1199.
std::string MixedQdFile(int lines, int variant = 0);

// A character-size file with all 51 items.
std::string MixedSizeFile();

}  // namespace qdvz::bench
