#include "io/qd_bytes.h"

#include "convert/convert_records.h"
#include "io/io_messages.h"
#include "io/save_text.h"
#include "io/source_file.h"

namespace qdvz {

MacroBytes ConvertQdBytes(std::string_view qdBytes, const SizeItems& sizes) {
  Result<LoadedLines> loaded = SplitSourceBytes(qdBytes);
  if (!loaded) return {loaded.failure(), std::nullopt};
  std::optional<Failure> warning;
  if (loaded->truncated) {
    warning = Failure{FailureKind::kCutOff, msg::kTooManyLines, kMaxLoadedLines + 1};
  }
  Result<std::u16string> document = ConvertRecords(loaded->lines, sizes);
  if (!document) return {document.failure(), warning};
  return {EncodeSavedText(*document), warning};
}

}  // namespace qdvz
