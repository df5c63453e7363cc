// The whole conversion from the bytes of a file, as qd2vz runs it: loading never crashes,
// a refusal names a message and a line of the input, and a converted document has the
// macro's head, ends with a line end and can always be saved as code page 932.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/convert_records.h"
#include "convert/size_table.h"
#include "fuzz_check.h"
#include "io/save_text.h"
#include "io/source_file.h"

namespace {

const qdvz::SizeItems& Sizes() {
  static const qdvz::SizeItems sizes = [] {
    qdvz::SizeItems table;
    for (int i = 0; i < qdvz::kSizeSlots; ++i) {
      table[static_cast<size_t>(i)] =
          u"2." + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
    }
    return table;
  }();
  return sizes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qdvz::LoadedLines loaded = qdvz::SplitSourceBytes(bytes);
  FUZZ_CHECK(loaded.lines.size() <= static_cast<size_t>(qdvz::kMaxLoadedLines));
  if (loaded.error) {
    FUZZ_CHECK(!loaded.error->message.empty());
    FUZZ_CHECK(loaded.error->line >= 1 && loaded.error->line <= qdvz::kMaxLoadedLines);
    FUZZ_CHECK(loaded.lines.empty());
    return 0;
  }
  qdvz::ConversionOutcome outcome = qdvz::ConvertRecords(loaded.lines, Sizes());
  if (outcome.refusal) {
    FUZZ_CHECK(!outcome.refusal->message.empty());
    FUZZ_CHECK(outcome.refusal->line >= 0);
    FUZZ_CHECK(outcome.refusal->line <= static_cast<int>(loaded.lines.size()));
    FUZZ_CHECK(outcome.document.empty());
    return 0;
  }
  static constexpr std::u16string_view kHead =
      u"vzm\r\n#----------------------------------------------\r\n";
  FUZZ_CHECK(outcome.document.starts_with(kHead));
  FUZZ_CHECK(outcome.document.ends_with(u"\r\n"));
  // The document is at most 1201 lines.
  size_t lineEnds = 0;
  for (size_t at = 0; (at = outcome.document.find(u"\r\n", at)) != std::u16string::npos; at += 2) {
    ++lineEnds;
  }
  FUZZ_CHECK(lineEnds >= 4 && lineEnds <= 1201);
  // Everything in the document came from code page 932 text or from the macro's own pieces.
  qdvz::EncodedText saved = qdvz::EncodeSavedText(outcome.document);
  FUZZ_CHECK(!saved.error);
  return 0;
}
