#include "io/cp932.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "convert/text.h"
#include "io/cp932_runs.h"

namespace qdvz {
namespace {

// The conversions' results with their failure positions, as these tests compare them.
struct Cp932Decoded {
  std::u16string text;
  bool ok = true;
  size_t errorOffset = 0;
};
struct Cp932Encoded {
  std::string bytes;
  bool ok = true;
  size_t errorIndex = 0;
};
Cp932Decoded Decoded(const Result<std::u16string>& result) {
  return result ? Cp932Decoded{*result} : Cp932Decoded{{}, false, result.failure().position};
}
Cp932Encoded Encoded(const Result<std::string>& result) {
  return result ? Cp932Encoded{*result} : Cp932Encoded{{}, false, result.failure().position};
}
Cp932Decoded Decode(std::string_view bytes) {
  return Decoded(DecodeCp932(bytes));
}
Cp932Encoded Encode(std::u16string_view text) {
  return Encoded(EncodeCp932(text));
}

std::string Hex(std::string_view bytes) {
  std::string out;
  for (unsigned char b : bytes) {
    char part[4];
    std::snprintf(part, sizeof part, "%02X", b);
    out += part;
  }
  return out;
}

// Every one- and two-byte sequence that decodes must encode back to bytes that decode to the
// same text; where the bytes differ it must be one of the known duplicate codes.
TEST(Cp932, EveryValidSequenceRoundTrips) {
  std::vector<std::string> sequences;
  for (int first = 0; first < 0x100; ++first) {
    sequences.emplace_back(1, static_cast<char>(first));
    for (int second = 0x40; second <= 0xFC; ++second) {
      sequences.push_back({static_cast<char>(first), static_cast<char>(second)});
    }
  }
  int valid = 0;
  int identical = 0;
  std::map<int, int> differingByLead;
  std::vector<std::string> examples;
  for (const std::string& bytes : sequences) {
    Cp932Decoded decoded = Decode(bytes);
    // A two-byte sequence whose first byte decodes alone is two characters, not one.
    if (!decoded.ok || (bytes.size() == 2 && Decode(bytes.substr(0, 1)).ok)) continue;
    ASSERT_EQ(decoded.text.size(), 1u) << Hex(bytes);
    ++valid;
    Cp932Encoded encoded = Encode(decoded.text);
    ASSERT_TRUE(encoded.ok) << Hex(bytes) << " has no code going back";
    if (encoded.bytes == bytes) {
      ++identical;
      continue;
    }
    Cp932Decoded again = Decode(encoded.bytes);
    ASSERT_TRUE(again.ok) << Hex(bytes);
    EXPECT_EQ(again.text, decoded.text) << Hex(bytes) << " came back as " << Hex(encoded.bytes);
    ++differingByLead[static_cast<unsigned char>(bytes[0])];
    if (examples.size() < 6) examples.push_back(Hex(bytes) + "->" + Hex(encoded.bytes));
  }
  std::string report;
  for (auto [lead, count] : differingByLead)
    report += Hex(std::string(1, lead)) + ":" + std::to_string(count) + " ";
  for (const auto& example : examples) report += example + " ";
  std::printf("valid %d, identical %d, differing %d (%s)\n", valid, identical, valid - identical,
              report.c_str());
  // NEC row 13 duplicates, NEC-selected IBM extensions, and the IBM codes that have a JIS
  // or NEC row 13 equivalent.
  const std::map<int, int> expected = {{0x87, 9}, {0xED, 188}, {0xEE, 186}, {0xFA, 15}};
  EXPECT_EQ(differingByLead, expected);
}

TEST(Cp932, DecodesKnownCodes) {
  struct Case {
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"", u""},
      {"\x5C", u"\u005C"},  // a backslash, not a yen sign
      {"\x7E", u"\u007E"},
      {std::string("\0\x1A\x1C\x7F", 4), std::u16string(u"\0\u001A\u001C\u007F", 4)},
      {"\x81\x5F", u"\uFF3C"},
      {"\x81\x60", u"\uFF5E"},
      {"\x82\xA0", u"あ"},
      {"\xB1", u"ｱ"},
      {"\x87\x40", u"①"},
      {"\xFA\x40", u"ⅰ"},
      // Trail bytes in the ASCII range must not be taken for ASCII.
      {"\x83\x5C", u"ソ"},
      {"A\x83\x5C\x5C"
       "B\x95\x5C",
       u"Aソ\\B表"},
  };
  for (const Case& c : cases) {
    Cp932Decoded decoded = Decode(c.bytes);
    EXPECT_TRUE(decoded.ok) << Hex(c.bytes);
    EXPECT_EQ(decoded.text, c.text) << Hex(c.bytes);
  }
}

TEST(Cp932, ReportsTheOffsetOfTheFirstInvalidSequence) {
  struct Case {
    std::string bytes;
    size_t offset;
  };
  const Case cases[] = {
      {"\xA0", 0},
      {"xyz\xFD", 3},
      {"\xFE", 0},
      {"\x82\xA0\xFF", 2},
      {"abc\x82", 3},  // a lead byte cut off at the end
      {"\x82\xA0\x82", 2},
      {"\x82\x0A", 0},  // a lead byte with no valid trail byte
      {"\x81\x7F", 0},
      {"ok\xFF\x82", 2},  // only the first fault counts
#ifndef _WIN32
      // glibc has no code 0x80; Windows reads it as U+0080.
      {"\x80", 0},
      {"ab\x80", 2},
#endif
  };
  for (const Case& c : cases) {
    Cp932Decoded decoded = Decode(c.bytes);
    EXPECT_FALSE(decoded.ok) << Hex(c.bytes);
    EXPECT_EQ(decoded.errorOffset, c.offset) << Hex(c.bytes);
  }
}

TEST(Cp932, EncodesKnownCharacters) {
  struct Case {
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {u"", ""},
      {u"\\~", "\x5C\x7E"},
      {u"\uFF3C\uFF5E", "\x81\x5F\x81\x60"},
      {u"あソ", "\x82\xA0\x83\x5C"},
      {u"ｱ", "\xB1"},
      {u"line(10, あ)\r\n", "line(10, \x82\xA0)\r\n"},
  };
  for (const Case& c : cases) {
    Cp932Encoded encoded = Encode(c.text);
    EXPECT_TRUE(encoded.ok);
    EXPECT_EQ(Hex(encoded.bytes), Hex(c.bytes));
  }
}

TEST(Cp932, ReportsTheIndexOfTheFirstCharacterWithoutCode) {
  struct Case {
    std::u16string text;
    size_t index;
  };
  const Case cases[] = {
      {u"ab😀", 2},
      {u"あ😀い", 1},
      {u"a\xD800", 1},    // a high surrogate cut off at the end
      {u"\xD800x", 0},    // a high surrogate alone
      {u"あ\xDC00x", 1},  // a low surrogate alone
#ifndef _WIN32
      {u"\u0080", 0},  // Windows alone gives it the code 0x80
#endif
      {u"ab\u00E9", 2},
      // Codes that would come back as other characters: ¥ as a backslash, the em dash as
      // the horizontal bar, the overline as a tilde.
      {u"あい\u00A5", 2},
      {u"x\u2014", 1},
      {u"\u203E", 0},
      {u"\u00AC", 0},
  };
  for (const Case& c : cases) {
    Cp932Encoded encoded = Encode(c.text);
    EXPECT_FALSE(encoded.ok) << static_cast<unsigned>(c.text.back());
    EXPECT_EQ(encoded.errorIndex, c.index) << static_cast<unsigned>(c.text.back());
    EXPECT_TRUE(encoded.bytes.empty());
  }
}

#ifdef _WIN32
TEST(Cp932, WindowsReads0x80AsU0080BothWays) {
  Cp932Decoded decoded = Decode("a\x80");
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.text, u"a\u0080");
  Cp932Encoded encoded = Encode(decoded.text);
  ASSERT_TRUE(encoded.ok);
  EXPECT_EQ(encoded.bytes, "a\x80");
}
#endif

// Characters that the converter of one system maps to a code and the other does not; where
// a code exists only one way, saving it would change the text, so it is refused everywhere.
TEST(Cp932, RefusesCharactersWithoutAnExactCode) {
  for (char16_t c : {u'\u00A2', u'\u00A3', u'\u00A5', u'\u00AC', u'\u2014', u'\u2016', u'\u203E',
                     u'\u2212', u'\u301C'}) {
    std::u16string text = u"あ";
    text += c;
    Cp932Encoded encoded = Encode(text);
    EXPECT_FALSE(encoded.ok) << std::hex << static_cast<unsigned>(c);
    EXPECT_EQ(encoded.errorIndex, 1u) << std::hex << static_cast<unsigned>(c);
  }
}

TEST(Cp932, LongTextsRoundTrip) {
  std::u16string text;
  for (int i = 0; i < 5000; ++i) text += i % 7 == 0 ? u"x," : u"漢字ｶﾅ";
  Cp932Encoded encoded = Encode(text);
  ASSERT_TRUE(encoded.ok);
  Cp932Decoded decoded = Decode(encoded.bytes);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.text, text);
}

// ASCII is converted eight bytes (four units) at a time: a character outside ASCII, good or
// bad, must be found at any place within such a word.
TEST(Cp932, FindsCharactersOutsideAsciiAtEveryPlaceInAWord) {
  for (size_t at = 0; at < 18; ++at) {
    SCOPED_TRACE(at);
    const std::string before(at, 'a');
    const std::string after(17 - at, 'b');
    const std::u16string text = FromUtf8(before) + u"あ" + FromUtf8(after);
    Cp932Decoded decoded = Decode(before + "\x82\xA0" + after);
    EXPECT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.text, text);
    Cp932Encoded encoded = Encode(text);
    EXPECT_TRUE(encoded.ok);
    EXPECT_EQ(encoded.bytes, before + "\x82\xA0" + after);

    decoded = Decode(before + "\xA0" + after);
    EXPECT_FALSE(decoded.ok);
    EXPECT_EQ(decoded.errorOffset, at);
    encoded = Encode(FromUtf8(before) + u"\u0100" + FromUtf8(after));
    EXPECT_FALSE(encoded.ok);
    EXPECT_EQ(encoded.errorIndex, at);
  }
}

#ifndef _WIN32
// The iconv conversions remember single characters; they must agree with iconv over whole runs in
// every result, error positions included, for every character alone and in company.
void ExpectSameDecoding(const std::string& bytes) {
  Cp932Decoded fast = Decode(bytes);
  Cp932Decoded reference = Decoded(detail::DecodeCp932ByRuns(bytes));
  ASSERT_EQ(fast.ok, reference.ok) << Hex(bytes);
  ASSERT_EQ(fast.errorOffset, reference.errorOffset) << Hex(bytes);
  ASSERT_EQ(fast.text, reference.text) << Hex(bytes);
}

TEST(Cp932, DecodingAgreesWithWholeRuns) {
  for (int first = 0x80; first < 0x100; ++first) {
    std::string lead(1, static_cast<char>(first));
    ExpectSameDecoding(lead);
    ExpectSameDecoding("a" + lead + "b");
    for (int second = 0; second < 0x100; ++second) {
      std::string pair = lead + static_cast<char>(second);
      ExpectSameDecoding(pair);
      ExpectSameDecoding("x\x82\xA0" + pair + "\x82");  // a cut-off lead byte last
      ExpectSameDecoding(pair + "\xB1z");
    }
  }
}

void ExpectSameEncoding(const std::u16string& text) {
  Cp932Encoded fast = Encode(text);
  Cp932Encoded reference = Encoded(detail::EncodeCp932ByRuns(text));
  ASSERT_EQ(fast.ok, reference.ok) << static_cast<int>(text[1]);
  ASSERT_EQ(fast.errorIndex, reference.errorIndex) << static_cast<int>(text[1]);
  ASSERT_EQ(fast.bytes, reference.bytes) << static_cast<int>(text[1]);
}

TEST(Cp932, EncodingAgreesWithWholeRuns) {
  for (int unit = 0; unit < 0x10000; ++unit) {
    auto c = static_cast<char16_t>(unit);
    ExpectSameEncoding(std::u16string(u"a") + c + u"\u3042b");
    ExpectSameEncoding(std::u16string(u"\u3042") + c);
  }
  ExpectSameEncoding(u"\u3042\U0001F600x");  // a character outside the plane
  ExpectSameEncoding(
      std::u16string(u"a\xD83D"
                     u"b"));                            // a lone high surrogate
  ExpectSameEncoding(std::u16string(u"\u3042\xDE00"));  // a lone low surrogate
  ExpectSameEncoding(u"\u00A5\u3042");                  // one-way: reads back as another
}
#endif  // the iconv conversions

}  // namespace
}  // namespace qdvz
