#pragma once

#include <string>

namespace qdvz {

// Why an operation did not produce its result: one Japanese message, and the 1-based
// line of the file it concerns (0 when it concerns no particular line).
struct Refusal {
  std::u16string message;
  int line = 0;

  friend bool operator==(const Refusal&, const Refusal&) = default;
};

// "12行目: message", or the bare message when no line is named.
std::u16string DescribeRefusal(const Refusal& refusal);

}  // namespace qdvz
