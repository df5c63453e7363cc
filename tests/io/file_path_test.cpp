// The paths the window builds from a folder and a name, and takes apart again.
#include "io/file_path.h"

#include <gtest/gtest.h>

#include "convert/text.h"
#include "support/temp_dir.h"

namespace qdvz {
namespace {

#ifdef _WIN32
#define SEP u"\\"
#else
#define SEP u"/"
#endif

TEST(FilePath, JoinsAndSplitsFolderAndName) {
  struct Row {
    std::u16string folder, name, path;
    bool splitsBack = true;  // SplitFilePath(path) gives folder and name again
  };
  const Row rows[] = {
      {SEP, u"x.dat", SEP u"x.dat"},  // a root keeps its separator
      {SEP u"data", u"x.dat", SEP u"data" SEP u"x.dat"},
      {SEP u"data" SEP, u"x.dat", SEP u"data" SEP u"x.dat", false},
      {SEP u"データ", u"線記号.dat", SEP u"データ" SEP u"線記号.dat"},
      {SEP u"data", u" x.dat ", SEP u"data" SEP u" x.dat "},  // the name is used verbatim
      {u"", u"x.dat", SEP u"x.dat", false},
      // A name holding folders is taken from the folder shown; a whole path as it is.
      {SEP u"data", u"sub" SEP u"x.dat", SEP u"data" SEP u"sub" SEP u"x.dat", false},
      {SEP u"data", u".." SEP u"x.qdc", SEP u"data" SEP u".." SEP u"x.qdc", false},
      {SEP u"data", SEP u"home" SEP u"u" SEP u"sizes.qdc", SEP u"home" SEP u"u" SEP u"sizes.qdc",
       false},
#ifdef _WIN32
      {u"C:\\data", u"Z:\\data\\sizes.qdc", u"Z:\\data\\sizes.qdc", false},
      {u"C:\\data", u"Z:/data/sizes.qdc", u"Z:/data/sizes.qdc", false},
      {u"C:\\data", u"Z:sizes.qdc", u"Z:sizes.qdc", false},  // Z:'s own working folder
      {u"C:\\data", u"\\\\server\\share\\x.dat", u"\\\\server\\share\\x.dat", false},
      {u"C:\\data", u"/u/x.dat", u"C:/u/x.dat", false},  // on the drive of the folder
      {u"C:\\data", u"sub/x.dat", u"C:\\data\\sub/x.dat", false},
      {u"C:\\", u"x.dat", u"C:\\x.dat"},
      {u"\\\\server\\share", u"x.dat", u"\\\\server\\share\\x.dat"},
#endif
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ToUtf8(row.path));
    EXPECT_EQ(SelectedFilePath(row.folder, row.name), row.path);
    if (!row.splitsBack) continue;
    FolderAndName parts = SplitFilePath(row.path);
    EXPECT_EQ(parts.folder, row.folder);
    EXPECT_EQ(parts.name, row.name);
  }
  EXPECT_EQ(SplitFilePath(u"x.dat").folder, u"");
  EXPECT_EQ(SplitFilePath(u"x.dat").name, u"x.dat");
#ifdef _WIN32
  EXPECT_EQ(SplitFilePath(u"C:/data/x.dat").folder, u"C:/data");
  // The text is the path itself: even a name that no code page can hold reaches the file
  // system unchanged.
  EXPECT_EQ(ToFsPath(u"C:\\\xD800x.dat").native(), L"C:\\\xD800x.dat");
#endif
}

// What a name leads to. Windows reads a reserved name as its device in any folder, with any
// extension: such a name is told by the name alone, whether or not the device opens.
TEST(FilePath, KindsOfWhatANameLeadsTo) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  test::WriteBytes(dir / "x.txt", "x");
  struct Row {
    fs::path path;
    FileKind kind;
  };
  const Row rows[] = {
      {dir / "x.txt", FileKind::kRegular},       {dir.path(), FileKind::kFolder},
      {dir / "missing.txt", FileKind::kMissing},
#ifdef _WIN32
      {L"\\\\.\\NUL", FileKind::kDevice},        {L"\\\\.\\pipe\\qdvz", FileKind::kPipeOrSocket},
      {dir / "nul.txt", FileKind::kDevice},      {dir / "Con .txt", FileKind::kDevice},
      {dir / "lpt1.x.dat", FileKind::kDevice},   {dir / "PRN", FileKind::kDevice},
      {dir / "COM9.txt", FileKind::kDevice},     {dir / "aux.", FileKind::kDevice},
      {dir / "xnul.txt", FileKind::kMissing},
#else
      {"/dev/null", FileKind::kDevice},
#endif
  };
  for (const Row& row : rows) {
    EXPECT_EQ(KindOf(row.path), row.kind) << test::Utf8Name(row.path);
  }
}

}  // namespace
}  // namespace qdvz
