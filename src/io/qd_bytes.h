#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "convert/failure.h"
#include "convert/size_table.h"

namespace qdvz {

// The macro made from the bytes of a QD data file, as the window would save it after loading
// the file and converting it: code page 932, the document followed by one CR LF.
struct MacroBytes {
  Result<std::string> macro;       // the bytes to write, or why there are none
  std::optional<Failure> warning;  // lines beyond the 1199th were left out (kCutOff)
};

// The whole road from the bytes of a QD file to the bytes of its macro: split the bytes into
// lines and decode them, convert the records, encode the document.
MacroBytes ConvertQdBytes(std::string_view qdBytes, const SizeItems& sizes);

}  // namespace qdvz
