#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "convert/refusal.h"

namespace qdvz {

// The bytes saved for a display text: the text, one CR LF, encoded as code page 932.
// Refuses text with characters that the code page cannot hold, naming the line.
struct EncodedText {
  std::string bytes;
  std::optional<Refusal> error;
};
EncodedText EncodeSavedText(std::u16string_view displayText);

// Writes bytes so that a failure leaves the old file as it was: through a temporary file in
// the same directory renamed over the target. A target that exists and is not a regular
// file (a device, a pipe) is written in place.
std::optional<Refusal> WriteFileAtomically(const std::filesystem::path& path,
                                           std::string_view bytes);

// EncodeSavedText followed by WriteFileAtomically.
std::optional<Refusal> SaveText(const std::filesystem::path& path, std::u16string_view displayText);

}  // namespace qdvz
