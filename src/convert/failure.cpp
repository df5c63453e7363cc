#include "convert/failure.h"

#include <new>

#include "convert/messages.h"
#include "convert/text.h"

namespace qdvz {

std::u16string Describe(const Failure& failure) {
  if (failure.line <= 0) return failure.message;
  return FromUtf8(std::to_string(failure.line)) + u"行目: " + failure.message;
}

std::u16string DescribeUnexpected(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) return msg::kOutOfMemory;
  return msg::kUnexpected + FromUtf8(error.what()) + u"）";
}

}  // namespace qdvz
