#pragma once

#include <span>
#include <string>
#include <string_view>

#include "convert/failure.h"
#include "convert/limits.h"
#include "convert/size_table.h"

namespace qdvz {

// Turns loaded QD data lines into the VZ line-deformation macro, every line of it ended by
// CR LF. Only the first kDataLineSlots lines are looked at. Refused: an empty size table, data
// without its "999" marker, macro input ("vzm"), and data beyond the macro's limits.
Result<std::u16string> ConvertRecords(std::span<const std::u16string_view> dataLines,
                                      const SizeItems& sizes);
Result<std::u16string> ConvertRecords(std::span<const std::u16string> dataLines,
                                      const SizeItems& sizes);

}  // namespace qdvz
