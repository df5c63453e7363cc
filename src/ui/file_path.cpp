#include "ui/file_path.h"

namespace qdvz {
namespace {

char16_t Separator(PathStyle style) {
  return style == PathStyle::kWindows ? u'\\' : u'/';
}

std::u16string_view Separators(PathStyle style) {
  return style == PathStyle::kWindows ? u"\\/" : u"/";
}

bool IsSeparator(char16_t c, PathStyle style) {
  return Separators(style).find(c) != std::u16string_view::npos;
}

}  // namespace

std::u16string SelectedFilePath(std::u16string_view directory, std::u16string_view name,
                                PathStyle style) {
  const bool windows = style == PathStyle::kWindows;
  if (!name.empty() && IsSeparator(name.front(), style)) {
    if (!windows) return std::u16string(name);
    // "\\server\share\x" is whole; "\data\x" is on the drive of the folder shown.
    if (name.size() > 1 && IsSeparator(name[1], style)) return std::u16string(name);
    const bool onDrive = directory.size() >= 2 && directory[1] == u':';
    return std::u16string(onDrive ? directory.substr(0, 2) : u"") + std::u16string(name);
  }
  // "C:\data\x" is whole, and so is "C:x", which Windows reads from that drive's own
  // working folder.
  if (windows && name.size() >= 2 && name[1] == u':') return std::u16string(name);
  std::u16string path(directory);
  if (path.empty() || path.back() != Separator(style)) path += Separator(style);
  path += name;
  return path;
}

FolderAndName SplitFilePath(std::u16string_view path, PathStyle style) {
  const size_t cut = path.find_last_of(Separators(style));
  if (cut == std::u16string_view::npos) return {u"", std::u16string(path)};
  std::u16string_view folder = path.substr(0, cut);
  // Without its separator a root would name nothing ("") or the drive's working folder ("C:").
  if (folder.empty() || folder.back() == u':') folder = path.substr(0, cut + 1);
  return {std::u16string(folder), std::u16string(path.substr(cut + 1))};
}

}  // namespace qdvz
