// The paths the window builds from a folder and a name, and takes apart again, in the ways of
// both systems: the rules are text, and each platform's rows run everywhere.
#include "ui/file_path.h"

#include <gtest/gtest.h>

#include "convert/text.h"

namespace qdvz {
namespace {

constexpr PathStyle kPosix = PathStyle::kPosix;
constexpr PathStyle kWindows = PathStyle::kWindows;

// The rows that hold on both systems, written with '/', for each style with its separator.
struct Row {
  std::u16string folder, name, path;
  bool splitsBack = true;  // SplitFilePath(path) gives folder and name again
};
const Row kBothSystems[] = {
    {u"/", u"x.dat", u"/x.dat"},  // a root keeps its separator
    {u"/data", u"x.dat", u"/data/x.dat"},
    {u"/data/", u"x.dat", u"/data/x.dat", false},
    {u"/データ", u"線記号.dat", u"/データ/線記号.dat"},
    {u"/data", u" x.dat ", u"/data/ x.dat "},  // the name is used verbatim
    {u"", u"x.dat", u"/x.dat", false},
    // A name holding folders is taken from the folder shown; a whole path as it is.
    {u"/data", u"sub/x.dat", u"/data/sub/x.dat", false},
    {u"/data", u"../x.qdc", u"/data/../x.qdc", false},
    {u"/data", u"/home/u/sizes.qdc", u"/home/u/sizes.qdc", false},
};

const Row kWindowsOnly[] = {
    {u"C:\\data", u"Z:\\data\\sizes.qdc", u"Z:\\data\\sizes.qdc", false},
    {u"C:\\data", u"Z:/data/sizes.qdc", u"Z:/data/sizes.qdc", false},
    {u"C:\\data", u"Z:sizes.qdc", u"Z:sizes.qdc", false},  // Z:'s own working folder
    {u"C:\\data", u"\\\\server\\share\\x.dat", u"\\\\server\\share\\x.dat", false},
    {u"C:\\data", u"/u/x.dat", u"C:/u/x.dat", false},  // on the drive of the folder
    {u"C:\\data", u"sub/x.dat", u"C:\\data\\sub/x.dat", false},
    {u"C:\\", u"x.dat", u"C:\\x.dat"},
    {u"\\\\server\\share", u"x.dat", u"\\\\server\\share\\x.dat"},
};

std::u16string WithBackslashes(std::u16string text) {
  for (char16_t& c : text) {
    if (c == u'/') c = u'\\';
  }
  return text;
}

void ExpectJoinsAndSplits(const Row& row, PathStyle style) {
  SCOPED_TRACE(ToUtf8(row.path));
  EXPECT_EQ(SelectedFilePath(row.folder, row.name, style), row.path);
  if (!row.splitsBack) return;
  FolderAndName parts = SplitFilePath(row.path, style);
  EXPECT_EQ(parts.folder, row.folder);
  EXPECT_EQ(parts.name, row.name);
}

TEST(FilePath, JoinsAndSplitsFolderAndName) {
  for (const Row& row : kBothSystems) {
    ExpectJoinsAndSplits(row, kPosix);
    ExpectJoinsAndSplits({WithBackslashes(row.folder), WithBackslashes(row.name),
                          WithBackslashes(row.path), row.splitsBack},
                         kWindows);
  }
  for (const Row& row : kWindowsOnly) ExpectJoinsAndSplits(row, kWindows);
  for (PathStyle style : {kPosix, kWindows}) {
    EXPECT_EQ(SplitFilePath(u"x.dat", style).folder, u"");
    EXPECT_EQ(SplitFilePath(u"x.dat", style).name, u"x.dat");
  }
  EXPECT_EQ(SplitFilePath(u"C:/data/x.dat", kWindows).folder, u"C:/data");
  // A backslash is part of a POSIX name, and a drive letter nothing special.
  EXPECT_EQ(SplitFilePath(u"/data/a\\b.dat", kPosix).name, u"a\\b.dat");
  EXPECT_EQ(SelectedFilePath(u"/data", u"C:x.dat", kPosix), u"/data/C:x.dat");
}

}  // namespace
}  // namespace qdvz
