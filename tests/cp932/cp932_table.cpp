// Writes how this build's code page 932 converter treats every one- and two-byte sequence and
// every character of the Basic Multilingual Plane, one line each, so that the tables of two
// builds (glibc iconv, Windows) can be compared line by line:
//   bytes 82A0<TAB>U+3042<TAB>82A0     the text the bytes decode to, and its bytes again
//   bytes 80<TAB>invalid<TAB>-
//   char U+3042<TAB>82A0<TAB>U+3042    the bytes a character encodes to, and their text again
//   char U+00A5<TAB>refused<TAB>-
#include <cstdio>
#include <fstream>
#include <string>

#include "cp932/cp932.h"

namespace {

std::string Bytes(std::string_view bytes) {
  std::string out;
  char hex[4];
  for (unsigned char b : bytes) {
    std::snprintf(hex, sizeof hex, "%02X", b);
    out += hex;
  }
  return out;
}

std::string Units(std::u16string_view text) {
  std::string out;
  char hex[8];
  for (char16_t c : text) {
    std::snprintf(hex, sizeof hex, "%sU+%04X", out.empty() ? "" : " ", static_cast<unsigned>(c));
    out += hex;
  }
  return out;
}

std::string DecodeLine(const std::string& bytes) {
  qdvz::Result<std::u16string> decoded = qdvz::DecodeCp932(bytes);
  if (!decoded) return "bytes " + Bytes(bytes) + "\tinvalid\t-\n";
  qdvz::Result<std::string> again = qdvz::EncodeCp932(*decoded);
  return "bytes " + Bytes(bytes) + "\t" + Units(*decoded) + "\t" +
         (again ? Bytes(*again) : "refused") + "\n";
}

std::string EncodeLine(char16_t c) {
  std::u16string text(1, c);
  qdvz::Result<std::string> encoded = qdvz::EncodeCp932(text);
  if (!encoded) return "char " + Units(text) + "\trefused\t-\n";
  qdvz::Result<std::u16string> back = qdvz::DecodeCp932(*encoded);
  return "char " + Units(text) + "\t" + Bytes(*encoded) + "\t" + (back ? Units(*back) : "invalid") +
         "\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::string table;
  for (int first = 0; first < 0x100; ++first) {
    table += DecodeLine(std::string(1, static_cast<char>(first)));
  }
  for (int first = 0; first < 0x100; ++first) {
    for (int second = 0; second < 0x100; ++second) {
      table += DecodeLine({static_cast<char>(first), static_cast<char>(second)});
    }
  }
  // Surrogates are left out: alone they are never characters.
  for (int c = 0; c < 0x10000; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    table += EncodeLine(static_cast<char16_t>(c));
  }
  // Binary, so that both builds write LF line ends.
  std::ofstream out(argc == 2 ? argv[1] : "", std::ios::binary);
  if (!(out << table).flush()) {
    std::fprintf(stderr, "usage: cp932_table OUTPUT (a file that can be written)\n");
    return 1;
  }
  return 0;
}
