// Encoding arbitrary UTF-16 (lone surrogates, emoji, characters without a code) as code page
// 932: it succeeds with bytes that decode back to the same text, or names an index inside it
// and gives no bytes; and it agrees with iconv over whole runs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "io/cp932.h"
#include "io/cp932_runs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }
  qdvz::Cp932Encoded encoded = qdvz::EncodeCp932(text);
  // The remembered characters agree with iconv over whole runs.
  qdvz::Cp932Encoded reference = qdvz::detail::EncodeCp932ByRuns(text);
  FUZZ_CHECK(encoded.ok == reference.ok);
  FUZZ_CHECK(encoded.errorIndex == reference.errorIndex);
  FUZZ_CHECK(encoded.bytes == reference.bytes);
  if (!encoded.ok) {
    FUZZ_CHECK(encoded.errorIndex < text.size());
    FUZZ_CHECK(encoded.bytes.empty());
    // Everything before the index has a code.
    FUZZ_CHECK(qdvz::EncodeCp932(std::u16string_view(text).substr(0, encoded.errorIndex)).ok);
    return 0;
  }
  FUZZ_CHECK(encoded.bytes.size() <= 2 * text.size());
  qdvz::Cp932Decoded back = qdvz::DecodeCp932(encoded.bytes);
  FUZZ_CHECK(back.ok);
  FUZZ_CHECK(back.text == text);
  return 0;
}
