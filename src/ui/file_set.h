#pragma once

#include <string>
#include <vector>

#include "convert/size_table.h"
#include "ui/window_ops.h"

namespace qdvz {

// What converting a set of files did.
struct FileSetOutcome {
  std::u16string listing;  // one line for each file, CR LF-separated: its path and outcome
  int converted = 0;
  int notConverted = 0;  // every file of the set but the converted ones and the size file used
  bool sizesLoaded = false;
};

// Converts a set of files dropped or opened at once, as qd2vz -d converts them: the first
// .qdc of the set, if any, is loaded into `sizes` first; then each QD file (by the names the
// window loads data from) gets its macro in <stem>.txt beside it, written by the same road and
// with the same bytes. No output replaces a file of the set, and outputs that exist already
// are replaced only when the user says yes to the one question asked about all of them.
FileSetOutcome ConvertFileSet(const std::vector<std::u16string>& paths, SizeItems& sizes,
                              WindowOps& window);

}  // namespace qdvz
