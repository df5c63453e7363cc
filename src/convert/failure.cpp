#include "convert/failure.h"

#include "convert/text.h"

namespace qdvz {

std::u16string Describe(const Failure& failure) {
  if (failure.line <= 0) return failure.message;
  return FromUtf8(std::to_string(failure.line)) + u"行目: " + failure.message;
}

}  // namespace qdvz
