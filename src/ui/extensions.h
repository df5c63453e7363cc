#pragma once

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

namespace qdvz {

using namespace std::string_view_literals;

// The names each of the window's actions takes.
inline constexpr std::array kDataExtensions = {u"dat"sv, u"DAT"sv, u"txt"sv,
                                               u"TXT"sv, u"vzm"sv, u"VZM"sv};
inline constexpr std::array kSizeExtensions = {u"qdc"sv, u"QDC"sv};
inline constexpr std::array kSaveExtensions = {u"txt"sv, u"qdc"sv, u"dat"sv,
                                               u"QDC"sv, u"TXT"sv, u"DAT"sv};

// Names are judged by their last three characters alone (the whole name when it is shorter),
// case-sensitively; no dot is needed.
inline bool HasExtension(std::u16string_view name, std::span<const std::u16string_view> accepted) {
  std::u16string_view lastThree = name.size() <= 3 ? name : name.substr(name.size() - 3);
  return std::find(accepted.begin(), accepted.end(), lastThree) != accepted.end();
}

}  // namespace qdvz
