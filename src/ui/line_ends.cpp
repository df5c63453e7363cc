#include "ui/line_ends.h"

namespace qdvz {

bool HasCrLfAlone(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      if (i + 1 == text.size() || text[i + 1] != u'\n') return false;
      ++i;
    } else if (text[i] == u'\n') {
      return false;
    }
  }
  return true;
}

std::u16string WithCrLf(std::u16string_view text) {
  std::u16string lines;
  lines.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      lines += u"\r\n";
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      lines += text[i];
    }
  }
  return lines;
}

}  // namespace qdvz
