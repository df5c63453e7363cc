// Code page 932 both ways on arbitrary input: the bytes decoded, and the bytes read as UTF-16
// (lone surrogates, emoji, characters without a code) encoded. Each conversion agrees with
// iconv over whole runs, and succeeds with a result that converts back to its input, or names
// a position inside the input before which everything converts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cp932/cp932.h"
#include "cp932/cp932_runs.h"
#include "fuzz_check.h"

namespace {

template <typename T>
bool Same(const qdvz::Result<T>& a, const qdvz::Result<T>& b) {
  return a ? b && *a == *b : !b && a.failure() == b.failure();
}

void CheckEncoding(std::u16string_view text) {
  qdvz::Result<std::string> encoded = qdvz::EncodeCp932(text);
  FUZZ_CHECK(Same(encoded, qdvz::detail::EncodeCp932ByRuns(text)));
  if (!encoded) {
    const qdvz::Failure& failure = encoded.failure();
    FUZZ_CHECK(failure.kind == qdvz::FailureKind::kUnsavable && failure.position < text.size());
    FUZZ_CHECK(qdvz::EncodeCp932(text.substr(0, failure.position)));
    return;
  }
  FUZZ_CHECK(encoded->size() <= 2 * text.size());
  qdvz::Result<std::u16string> back = qdvz::DecodeCp932(*encoded);
  FUZZ_CHECK(back && *back == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qdvz::Result<std::u16string> decoded = qdvz::DecodeCp932(bytes);
  FUZZ_CHECK(Same(decoded, qdvz::detail::DecodeCp932ByRuns(bytes)));
  if (decoded) {
    CheckEncoding(*decoded);
    bool ascii = true;
    for (size_t i = 0; i < size; ++i) ascii = ascii && data[i] < 0x80;
    FUZZ_CHECK(!ascii || *decoded == std::u16string(bytes.begin(), bytes.end()));
  } else {
    const qdvz::Failure& failure = decoded.failure();
    FUZZ_CHECK(failure.kind == qdvz::FailureKind::kNotCp932Text && failure.position < size);
    FUZZ_CHECK(qdvz::DecodeCp932(bytes.substr(0, failure.position)));
  }
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }
  CheckEncoding(text);
  return 0;
}
