#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "convert/refusal.h"
#include "convert/size_table.h"

namespace qdvz {

struct ConversionOutcome {
  std::u16string document;         // the macro text, every line ended by CR LF
  std::optional<Refusal> refusal;  // set when nothing was converted
};

// Turns loaded QD data lines into the VZ line-deformation macro. Only the first 1201
// lines are looked at. Data without its "999" marker, macro input ("vzm"), and data beyond
// the macro's limits are refused; the document is then empty.
ConversionOutcome ConvertRecords(std::span<const std::u16string_view> dataLines,
                                 const SizeItems& sizes);
ConversionOutcome ConvertRecords(std::span<const std::u16string> dataLines, const SizeItems& sizes);

}  // namespace qdvz
