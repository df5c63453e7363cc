// Code page 932 through the Windows conversion functions. Only runs of bytes or characters
// outside ASCII reach them: ASCII is the same in both encodings, and most of a QD file is
// ASCII. A call fails as a whole on the first bad character, so the position of that
// character is found by converting the failed run again one character at a time.
#include <windows.h>

#include <algorithm>
#include <string>

#include "convert/text.h"
#include "cp932/cp932.h"
#include "cp932/cp932_runs.h"

namespace qdvz {
namespace {

using detail::IsLeadByte;

constexpr UINT kCodePage = 932;

// Runs are cut at this length so that every length fits the int of the API.
constexpr size_t kMaxRun = 1 << 20;

// Decodes bytes as a whole, appending to text; false when any sequence is invalid, which
// includes a lead byte cut off at the end.
bool DecodeWhole(std::string_view bytes, std::u16string& text) {
  if (bytes.empty()) return true;
  int length = static_cast<int>(bytes.size());
  int units =
      MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
  if (units <= 0) return false;
  size_t old = text.size();
  text.resize(old + static_cast<size_t>(units));
  int written = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length,
                                    reinterpret_cast<wchar_t*>(text.data() + old), units);
  if (written != units) {
    text.resize(old);
    return false;
  }
  return true;
}

// Encodes text as a whole, appending to bytes; false when a character has no code, that is
// when the function had to put its default character in its place.
bool EncodeWhole(std::u16string_view text, std::string& bytes) {
  if (text.empty()) return true;
  auto wide = reinterpret_cast<const wchar_t*>(text.data());
  int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr,
                                 &usedDefault);
  if (size <= 0 || usedDefault) return false;
  size_t old = bytes.size();
  bytes.resize(old + static_cast<size_t>(size));
  int written = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length,
                                    bytes.data() + old, size, nullptr, &usedDefault);
  if (written != size || usedDefault) {
    bytes.resize(old);
    return false;
  }
  return true;
}

// Encodes text and checks that the bytes decode to exactly the same text again. A character
// with only a one-way code would otherwise be saved as another character.
bool EncodeExactly(std::u16string_view text, std::string& bytes) {
  size_t old = bytes.size();
  std::u16string back;
  if (EncodeWhole(text, bytes) && DecodeWhole(std::string_view(bytes).substr(old), back) &&
      back == text) {
    return true;
  }
  bytes.resize(old);
  return false;
}

// Decodes a run of bytes that starts outside ASCII; returns false with the offset within run
// of the first sequence that does not decode.
bool DecodeRun(std::string_view run, std::u16string& text, size_t& errorOffset) {
  if (DecodeWhole(run, text)) return true;
  for (size_t i = 0; i < run.size();) {
    size_t length = IsLeadByte(static_cast<unsigned char>(run[i])) ? 2 : 1;
    length = std::min(length, run.size() - i);
    std::u16string ignored;
    if (!DecodeWhole(run.substr(i, length), ignored)) {
      errorOffset = i;
      return false;
    }
    i += length;
  }
  // Each piece decodes but the whole does not: the converter saw other boundaries. Report
  // the run's start rather than accept it.
  errorOffset = 0;
  return false;
}

// Encodes a run of non-ASCII characters free of lone surrogates; returns false with the
// index within run of the first character without an exact code.
bool EncodeRun(std::u16string_view run, std::string& bytes, size_t& errorIndex) {
  if (EncodeExactly(run, bytes)) return true;
  for (size_t i = 0; i < run.size();) {
    size_t length = IsHighSurrogate(run[i]) && i + 1 < run.size() ? 2 : 1;
    std::string ignored;
    if (!EncodeExactly(run.substr(i, length), ignored)) {
      errorIndex = i;
      return false;
    }
    i += length;
  }
  errorIndex = 0;
  return false;
}

}  // namespace

bool Cp932ConverterAvailable() {
  return IsValidCodePage(kCodePage) != 0;
}

Result<void> AppendDecodedCp932(std::string_view bytes, std::u16string& text) {
  return detail::DecodeInRuns(bytes, text, DecodeRun, kMaxRun);
}

Result<std::string> EncodeCp932(std::u16string_view text) {
  return detail::EncodeInRuns(text, EncodeRun, kMaxRun);
}

}  // namespace qdvz
