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
  qdvz::Cp932Decoded decoded = qdvz::DecodeCp932(bytes);
  // The remembered characters agree with iconv over whole runs.
  qdvz::Cp932Decoded reference = qdvz::detail::DecodeCp932ByRuns(bytes);
  FUZZ_CHECK(decoded.ok == reference.ok);
  FUZZ_CHECK(decoded.errorOffset == reference.errorOffset);
  FUZZ_CHECK(decoded.text == reference.text);
  if (!decoded.ok) {
    FUZZ_CHECK(decoded.errorOffset < size);
    FUZZ_CHECK(decoded.text.empty());
    // The offset is where a character begins: everything before it is valid.
    FUZZ_CHECK(qdvz::DecodeCp932(bytes.substr(0, decoded.errorOffset)).ok);
    return 0;
  }
  FUZZ_CHECK(decoded.text.size() <= size);
  qdvz::Cp932Encoded encoded = qdvz::EncodeCp932(decoded.text);
  FUZZ_CHECK(encoded.ok);
  FUZZ_CHECK(encoded.bytes.size() <= size);
  qdvz::Cp932Decoded again = qdvz::DecodeCp932(encoded.bytes);
  FUZZ_CHECK(again.ok);
  FUZZ_CHECK(again.text == decoded.text);

  bool ascii = true;
  for (size_t i = 0; i < size; ++i) ascii = ascii && data[i] < 0x80;
  if (ascii) {
    FUZZ_CHECK(decoded.text.size() == size);
    FUZZ_CHECK(encoded.bytes == bytes);
  }
  return 0;
}
