#include "io/file_path.h"

#include <gtest/gtest.h>

#include "convert/text.h"

namespace qdvz {
namespace {

#ifdef _WIN32
#define SEP u"\\"
#else
#define SEP u"/"
#endif

TEST(SelectedFilePath, JoinsDirectoryAndName) {
  struct Case {
    std::u16string directory, name, path;
  };
  const Case cases[] = {
      {SEP, u"x.dat", SEP u"x.dat"},
      {SEP u"data", u"x.dat", SEP u"data" SEP u"x.dat"},
      {SEP u"data" SEP, u"x.dat", SEP u"data" SEP u"x.dat"},
      {SEP u"データ", u"線記号.dat", SEP u"データ" SEP u"線記号.dat"},
      // The name is used verbatim: a directory part and blanks stay.
      {SEP u"data", u"sub" SEP u"x.dat", SEP u"data" SEP u"sub" SEP u"x.dat"},
      {SEP u"data", u" x.dat ", SEP u"data" SEP u" x.dat "},
      {u"", u"x.dat", SEP u"x.dat"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SelectedFilePath(c.directory, c.name), c.path) << ToUtf8(c.path);
  }
}

TEST(ToFsPath, KeepsJapaneseNames) {
  std::filesystem::path path = ToFsPath(u"/データ/線記号.dat");
  EXPECT_EQ(path.u16string(), u"/データ/線記号.dat");
  EXPECT_EQ(path.filename().u16string(), u"線記号.dat");
}

#ifdef _WIN32
TEST(SelectedFilePath, DriveRootsAndFolders) {
  EXPECT_EQ(SelectedFilePath(u"C:\\", u"x.dat"), u"C:\\x.dat");
  EXPECT_EQ(SelectedFilePath(u"C:\\data", u"x.dat"), u"C:\\data\\x.dat");
  EXPECT_EQ(SelectedFilePath(u"\\\\server\\share", u"x.dat"), u"\\\\server\\share\\x.dat");
}

// The UTF-16 text is the path itself: nothing goes through a code page on the way, so even
// a name that no code page can hold reaches the file system unchanged.
TEST(ToFsPath, PassesTheTextToTheFileSystemUnchanged) {
  for (std::u16string text : {std::u16string(u"C:\\データ\\線記号.dat"),
                              std::u16string(u"C:\\\xD800x.dat"), std::u16string(u"😀.dat")}) {
    std::filesystem::path path = ToFsPath(text);
    EXPECT_EQ(path.native(), std::wstring(text.begin(), text.end()));
  }
}
#endif

TEST(SplitFilePath, KeepsTheSeparatorOfARootOnly) {
  struct Case {
    std::u16string path, folder, name;
  };
  const Case cases[] = {
      {SEP u"data" SEP u"x.dat", SEP u"data", u"x.dat"},
      {SEP u"x.dat", SEP, u"x.dat"},
      {SEP u"データ" SEP u"線記号.dat", SEP u"データ", u"線記号.dat"},
      {u"x.dat", u"", u"x.dat"},
#ifdef _WIN32
      {u"C:\\x.dat", u"C:\\", u"x.dat"},
      {u"C:/data/x.dat", u"C:/data", u"x.dat"},
      {u"\\\\server\\share\\x.dat", u"\\\\server\\share", u"x.dat"},
#endif
  };
  for (const Case& c : cases) {
    const FolderAndName parts = SplitFilePath(c.path);
    EXPECT_EQ(parts.folder, c.folder) << ToUtf8(c.path);
    EXPECT_EQ(parts.name, c.name) << ToUtf8(c.path);
  }
}

}  // namespace
}  // namespace qdvz
