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
  qdvz::Result<std::string> encoded = qdvz::EncodeCp932(text);
  // The remembered characters agree with iconv over whole runs.
  qdvz::Result<std::string> reference = qdvz::detail::EncodeCp932ByRuns(text);
  FUZZ_CHECK(static_cast<bool>(encoded) == static_cast<bool>(reference));
  if (!encoded) {
    const qdvz::Failure& failure = encoded.failure();
    FUZZ_CHECK(failure == reference.failure());
    FUZZ_CHECK(failure.kind == qdvz::FailureKind::kUnsavable);
    FUZZ_CHECK(failure.position < text.size());
    // Everything before the index has a code.
    FUZZ_CHECK(qdvz::EncodeCp932(std::u16string_view(text).substr(0, failure.position)));
    return 0;
  }
  FUZZ_CHECK(*encoded == *reference);
  FUZZ_CHECK(encoded->size() <= 2 * text.size());
  qdvz::Result<std::u16string> back = qdvz::DecodeCp932(*encoded);
  FUZZ_CHECK(back);
  FUZZ_CHECK(*back == text);
  return 0;
}
