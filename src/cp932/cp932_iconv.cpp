// Code page 932 through glibc iconv. ASCII is the same in both encodings and never reaches
// iconv. Other characters are converted one at a time and remembered per thread: code page 932
// is stateless, so a character converts the same alone as within a run, and a file uses few
// distinct characters, each of them many times. Whatever the memory cannot answer simply
// (a sequence that is not one character of one UTF-16 unit) goes to iconv as a whole run.
#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "convert/text.h"
#include "cp932/ascii_words.h"
#include "cp932/cp932.h"
#include "cp932/cp932_messages.h"
#include "cp932/cp932_runs.h"

namespace qdvz {
namespace {

using detail::IsLeadByte;

// The name iconv knows code page 932 by, and how often it was changed (by tests).
std::atomic<const char*> converterName{"CP932"};
std::atomic<unsigned> converterNameChanges{0};

// One pair of converters per thread: opening them costs far more than a line's conversion,
// and an iconv_t must not be shared between threads.
class Converters {
 public:
  explicit Converters(const char* name)
      : decoder_(iconv_open("UTF-16LE", name)), encoder_(iconv_open(name, "UTF-16LE")) {}
  ~Converters() {
    if (decoder_ != kNotOpen) iconv_close(decoder_);
    if (encoder_ != kNotOpen) iconv_close(encoder_);
  }
  Converters(const Converters&) = delete;
  Converters& operator=(const Converters&) = delete;

  // Without the CP932 module (a minimal system, another C library) nothing can be converted;
  // that is a broken installation, not a fault of any file.
  bool Available() const { return decoder_ != kNotOpen && encoder_ != kNotOpen; }
  // Only once Available() said so.
  iconv_t Decoder() { return Reset(decoder_); }
  iconv_t Encoder() { return Reset(encoder_); }

  // What iconv made of one byte above ASCII (index 0x80 to 0xFF) or of a lead byte and its
  // trail byte (index lead * 256 + trail): kUnknown until asked, then kInvalid, kComplex or
  // kCharacter with the UTF-16 unit in the low bits.
  std::vector<uint32_t> decoded = std::vector<uint32_t>(0x10000, kUnknown);
  // What a UTF-16 unit above ASCII encodes to: kUnknown until asked, then kInvalid (no code,
  // or a code that reads back as another character), or kCharacter with the byte count in
  // bits 16 and up and the bytes, first byte high, in the low bits.
  std::vector<uint32_t> encoded = std::vector<uint32_t>(0x10000, kUnknown);

  static constexpr uint32_t kUnknown = 0;
  static constexpr uint32_t kInvalid = 1;
  static constexpr uint32_t kComplex = 2;
  static constexpr uint32_t kCharacter = 0x1000000;

 private:
  static inline const iconv_t kNotOpen = reinterpret_cast<iconv_t>(-1);

  static iconv_t Reset(iconv_t cd) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return cd;
  }

  iconv_t decoder_;
  iconv_t encoder_;
};

Converters& ThreadConverters() {
  thread_local std::unique_ptr<Converters> converters;
  thread_local unsigned madeAfter = 0;
  unsigned changes = converterNameChanges.load();
  if (!converters || madeAfter != changes) {
    converters = std::make_unique<Converters>(converterName.load());
    madeAfter = changes;
  }
  return *converters;
}

Failure NoConverter() {
  return Failure{FailureKind::kNoConverter, msg::kNoCp932Converter};
}

struct RunResult {
  bool ok = true;
  size_t consumed = 0;  // input bytes converted before the first error
};

// Converts the whole of input, appending to output. Stops at the first sequence that iconv
// refuses (EILSEQ) or finds cut off at the end (EINVAL).
RunResult Convert(iconv_t cd, std::string_view input, std::string& output) {
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  while (inLeft > 0) {
    char buffer[1024];
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    output.append(buffer, out);
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      return {false, input.size() - inLeft};
    }
  }
  return {true, input.size()};
}

// Little-endian bytes, assembled by hand so that the host's byte order does not matter.
void AppendUtf16Le(std::u16string_view text, std::string& bytes) {
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
}

void AppendFromUtf16Le(std::string_view bytes, std::u16string& text) {
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
}

// Decodes a run of bytes that starts outside ASCII; returns false with the offset within run.
bool DecodeRun(std::string_view run, std::u16string& text, size_t& errorOffset) {
  std::string utf16;
  RunResult result = Convert(ThreadConverters().Decoder(), run, utf16);
  AppendFromUtf16Le(utf16, text);
  errorOffset = result.consumed;
  return result.ok;
}

// Whether bytes decode back to exactly text.
bool ComesBack(std::string_view bytes, std::u16string_view text) {
  Result<std::u16string> back = detail::DecodeCp932ByRuns(bytes);
  return back && *back == text;
}

// Encodes with iconv alone; consumed counts UTF-16 units.
RunResult EncodeWithIconv(std::u16string_view run, std::string& bytes) {
  std::string utf16;
  AppendUtf16Le(run, utf16);
  RunResult result = Convert(ThreadConverters().Encoder(), utf16, bytes);
  result.consumed /= 2;
  return result;
}

// Encodes a run of non-ASCII characters free of lone surrogates. A character that iconv
// maps only one way (U+00A5 to 0x5C, U+2014 to 0x815C, ...) would read back as another
// character, so it counts as having no code, like one that iconv refuses.
bool EncodeRun(std::u16string_view run, std::string& bytes, size_t& errorIndex) {
  std::string encoded;
  RunResult result = EncodeWithIconv(run, encoded);
  size_t good = result.consumed;
  if (!ComesBack(encoded, run.substr(0, good))) {
    // Such characters are rare: look for the first one character by character.
    for (size_t i = 0; i < good;) {
      size_t length = IsHighSurrogate(run[i]) && i + 1 < good ? 2 : 1;
      std::string one;
      EncodeWithIconv(run.substr(i, length), one);
      if (!ComesBack(one, run.substr(i, length))) {
        errorIndex = i;
        return false;
      }
      i += length;
    }
  }
  bytes += encoded;
  errorIndex = good;
  return result.ok;
}

// What one character outside ASCII decodes to; key indexes Converters::decoded.
uint32_t DecodedCharacter(Converters& converters, unsigned key, std::string_view bytes) {
  uint32_t& entry = converters.decoded[key];
  if (entry == Converters::kUnknown) {
    std::string utf16;
    RunResult result = Convert(converters.Decoder(), bytes, utf16);
    if (!result.ok && result.consumed == 0) {
      entry = Converters::kInvalid;
    } else if (result.ok && utf16.size() == 2) {
      entry = Converters::kCharacter | static_cast<unsigned char>(utf16[0]) |
              (static_cast<unsigned>(static_cast<unsigned char>(utf16[1])) << 8);
    } else {
      entry = Converters::kComplex;
    }
  }
  return entry;
}

// What one UTF-16 unit outside ASCII encodes to.
uint32_t EncodedCharacter(Converters& converters, char16_t unit) {
  uint32_t& entry = converters.encoded[unit];
  if (entry == Converters::kUnknown) {
    std::string bytes;
    std::u16string_view one(&unit, 1);
    // A surrogate alone is no character; with its partner it is one outside the code page.
    if (IsSurrogate(unit)) {
      entry = Converters::kInvalid;
    } else if (!EncodeWithIconv(one, bytes).ok || !ComesBack(bytes, one)) {
      entry = Converters::kInvalid;
    } else if (bytes.size() == 1 || bytes.size() == 2) {
      unsigned packed = 0;
      for (char byte : bytes) packed = (packed << 8) | static_cast<unsigned char>(byte);
      entry = Converters::kCharacter | (static_cast<uint32_t>(bytes.size()) << 16) | packed;
    } else {
      entry = Converters::kComplex;
    }
  }
  return entry;
}

}  // namespace

// The conversions below write into a buffer on the stack, a chunk at a time, and append each
// chunk to the result: room made beforehand in the result would first be filled with zeros.
// A chunk's bytes stay below the size from which the C library copies byte by byte.
constexpr size_t kChunkUnits = 480;

Result<void> AppendDecodedCp932(std::string_view bytes, std::u16string& text) {
  Converters& converters = ThreadConverters();
  if (!converters.Available()) return NoConverter();
  const size_t before = text.size();
  text.reserve(before + bytes.size());  // every byte gives at most one UTF-16 unit
  // The conversion of the whole run of bytes, from the text as it was.
  auto byRuns = [&] {
    text.resize(before);
    return detail::DecodeInRuns(bytes, text, DecodeRun);
  };
  const size_t size = bytes.size();
  const char* in = bytes.data();
  // A double-byte character at the chunk's end takes one byte beyond it, but gives one unit.
  char16_t chunk[kChunkUnits + 1];
  size_t i = 0;
  while (i < size) {
    const size_t stop = std::min(size, i + kChunkUnits);
    char16_t* out = chunk;
    while (i < stop) {
      auto first = static_cast<unsigned char>(in[i]);
      if (first < 0x80) {
        // Most of a QD file is ASCII: widen it a block at a time, then the rest of the
        // stretch (less than a block) byte by byte.
        size_t ascii = detail::WidenAsciiBlocks(in + i, stop - i, out);
        out += ascii;
        i += ascii;
        while (i < stop && static_cast<unsigned char>(in[i]) < 0x80) {
          *out++ = static_cast<unsigned char>(in[i++]);
        }
        continue;
      }
      // The trail byte of a double-byte character may lie in the ASCII range (0x835C is ソ).
      size_t length = IsLeadByte(first) ? 2 : 1;
      if (i + length > size) return byRuns();  // cut off at the end
      unsigned key = length == 1 ? first : first << 8 | static_cast<unsigned char>(bytes[i + 1]);
      uint32_t entry = DecodedCharacter(converters, key, bytes.substr(i, length));
      if (entry == Converters::kInvalid) {
        text.resize(before);
        return detail::NotDecodable(i);
      }
      if (entry == Converters::kComplex) return byRuns();
      *out++ = static_cast<char16_t>(entry & 0xFFFF);
      i += length;
    }
    text.append(chunk, static_cast<size_t>(out - chunk));
  }
  return {};
}

Result<std::string> EncodeCp932(std::u16string_view text) {
  Converters& converters = ThreadConverters();
  if (!converters.Available()) return NoConverter();
  std::string bytes;
  bytes.reserve(2 * text.size());  // at most two bytes a unit: the result never moves
  const char16_t* in = text.data();
  const size_t size = text.size();
  // Every UTF-16 unit gives at most two bytes (pairs of surrogates take the slow road).
  char chunk[2 * kChunkUnits];
  size_t i = 0;
  while (i < size) {
    const size_t stop = std::min(size, i + kChunkUnits);
    char* out = chunk;
    while (i < stop) {
      char16_t unit = in[i];
      if (unit < 0x80) {
        // The statements are ASCII but for the texts and names: narrow them a block at a
        // time, then the rest of the stretch unit by unit.
        size_t ascii = detail::NarrowAsciiBlocks(in + i, stop - i, out);
        out += ascii;
        i += ascii;
        while (i < stop && in[i] < 0x80) *out++ = static_cast<char>(in[i++]);
        continue;
      }
      uint32_t entry = EncodedCharacter(converters, unit);
      if (entry == Converters::kInvalid) return detail::NotEncodable(text, i);
      if (entry == Converters::kComplex) return detail::EncodeCp932ByRuns(text);
      if ((entry >> 16 & 0xFF) == 2) *out++ = static_cast<char>(entry >> 8 & 0xFF);
      *out++ = static_cast<char>(entry & 0xFF);
      ++i;
    }
    bytes.append(chunk, static_cast<size_t>(out - chunk));
  }
  return bytes;
}

namespace detail {

Result<std::u16string> DecodeCp932ByRuns(std::string_view bytes) {
  if (!ThreadConverters().Available()) return NoConverter();
  std::u16string text;
  if (Result<void> decoded = DecodeInRuns(bytes, text, DecodeRun); !decoded) {
    return decoded.failure();
  }
  return text;
}

Result<std::string> EncodeCp932ByRuns(std::u16string_view text) {
  if (!ThreadConverters().Available()) return NoConverter();
  return EncodeInRuns(text, EncodeRun);
}

void SetCp932ConverterName(const char* name) {
  converterName = name;
  ++converterNameChanges;
}

}  // namespace detail

bool Cp932ConverterAvailable() {
  return ThreadConverters().Available();
}

}  // namespace qdvz
