// Decoding arbitrary bytes as code page 932: it succeeds or names an offset inside the input,
// the text it gives encodes and decodes back to itself, ASCII comes back byte for byte, and
// every result is the one that iconv gives for whole runs.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "io/cp932.h"
#include "io/cp932_runs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qdvz::Result<std::u16string> decoded = qdvz::DecodeCp932(bytes);
  // The remembered characters agree with iconv over whole runs.
  qdvz::Result<std::u16string> reference = qdvz::detail::DecodeCp932ByRuns(bytes);
  FUZZ_CHECK(static_cast<bool>(decoded) == static_cast<bool>(reference));
  if (!decoded) {
    const qdvz::Failure& failure = decoded.failure();
    FUZZ_CHECK(failure == reference.failure());
    FUZZ_CHECK(failure.kind == qdvz::FailureKind::kNotCp932Text);
    FUZZ_CHECK(failure.position < size);
    // The offset is where a character begins: everything before it is valid.
    FUZZ_CHECK(qdvz::DecodeCp932(bytes.substr(0, failure.position)));
    return 0;
  }
  FUZZ_CHECK(*decoded == *reference);
  FUZZ_CHECK(decoded->size() <= size);
  qdvz::Result<std::string> encoded = qdvz::EncodeCp932(*decoded);
  FUZZ_CHECK(encoded);
  FUZZ_CHECK(encoded->size() <= size);
  qdvz::Result<std::u16string> again = qdvz::DecodeCp932(*encoded);
  FUZZ_CHECK(again);
  FUZZ_CHECK(*again == *decoded);

  bool ascii = true;
  for (size_t i = 0; i < size; ++i) ascii = ascii && data[i] < 0x80;
  if (ascii) {
    FUZZ_CHECK(decoded->size() == size);
    FUZZ_CHECK(*encoded == bytes);
  }
  return 0;
}
