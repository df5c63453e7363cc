#include "convert/refusal.h"

#include <string>

#include "convert/text.h"

namespace qdvz {

std::u16string DescribeRefusal(const Refusal& refusal) {
  if (refusal.line <= 0) return refusal.message;
  return FromUtf8(std::to_string(refusal.line)) + u"行目: " + refusal.message;
}

}  // namespace qdvz
