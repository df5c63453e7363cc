// The whole road from the bytes of a file to the bytes of its macro, as qd2vz runs it: it
// never crashes, a refusal names a message and a line of the input, and a macro has the
// macro's head, at most 1201 lines, ends with the line end that saving adds, and reads back
// as code page 932. The same bytes read as a character-size file: a refusal names a line
// that holds a double quote.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "convert/size_table.h"
#include "cp932/cp932.h"
#include "fuzz_check.h"
#include "io/qd_bytes.h"
#include "io/source_file.h"

namespace {

void CheckSizeFile(std::string_view bytes) {
  qdvz::Result<qdvz::LoadedLines> loaded =
      qdvz::SplitSourceBytes(bytes, std::numeric_limits<int>::max());
  if (!loaded) return;
  qdvz::Result<std::vector<std::u16string>> items = qdvz::ReadSizeItems(loaded->lines);
  if (items) return;
  const qdvz::Failure& failure = items.failure();
  FUZZ_CHECK(failure.kind == qdvz::FailureKind::kBadSizeFile);
  FUZZ_CHECK(failure.line >= 1 && static_cast<size_t>(failure.line) <= loaded->lines.size());
  FUZZ_CHECK(loaded->lines[static_cast<size_t>(failure.line - 1)].find(u'"') !=
             std::u16string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckSizeFile(bytes);
  qdvz::SizeItems sizes;
  sizes.fill(u"2.5");
  qdvz::MacroBytes converted = qdvz::ConvertQdBytes(bytes, sizes);
  if (converted.warning) {
    FUZZ_CHECK(converted.warning->kind == qdvz::FailureKind::kCutOff);
    FUZZ_CHECK(converted.warning->line == qdvz::kMaxLoadedLines + 1);
  }
  if (!converted.macro) {
    const qdvz::Failure& failure = converted.macro.failure();
    FUZZ_CHECK(!failure.message.empty());
    // Everything that a conversion produces can be saved.
    FUZZ_CHECK(failure.kind != qdvz::FailureKind::kUnsavable);
    FUZZ_CHECK(failure.line >= 0 && failure.line <= qdvz::kMaxLoadedLines);
    return 0;
  }
  const std::string& macro = *converted.macro;
  static constexpr std::string_view kHead =
      "vzm\r\n#----------------------------------------------\r\n";
  FUZZ_CHECK(macro.starts_with(kHead));
  FUZZ_CHECK(macro.ends_with("\r\n\r\n"));
  size_t lineEnds = 0;
  for (size_t at = 0; (at = macro.find("\r\n", at)) != std::string::npos; at += 2) ++lineEnds;
  FUZZ_CHECK(lineEnds >= 5 && lineEnds <= 1202);
  FUZZ_CHECK(qdvz::DecodeCp932(macro));
  return 0;
}
