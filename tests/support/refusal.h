#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "convert/failure.h"
#include "convert/text.h"

namespace qdvz::test {

// What a user is told of a failure: the message and the line, compared as one.
struct Refusal {
  std::u16string message;
  int line = 0;

  friend bool operator==(const Refusal&, const Refusal&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Refusal& refusal) {
    return out << refusal.line << ": " << ToUtf8(refusal.message);
  }
};

// The refusal of a result, nothing when it succeeded.
template <typename T>
std::optional<Refusal> RefusalOf(const Result<T>& result) {
  if (result) return std::nullopt;
  return Refusal{result.failure().message, result.failure().line};
}

}  // namespace qdvz::test
