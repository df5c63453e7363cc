#include "io/save_text.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <thread>

#include "io/io_messages.h"
#include "support/refusal.h"
#include "support/temp_dir.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;
using test::Refusal;
using test::RefusalOf;

TEST(EncodeSavedText, AddsOneLineEndAndEncodes) {
  struct Case {
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {u"", "\r\n"},
      {u"vzm\r\nbegin  ", "vzm\r\nbegin  \r\n"},
      {u"a\r\n", "a\r\n\r\n"},  // a loaded text already ends with CR LF
      {u"# QDのｺｰﾄﾞ03,04 ",
       "# QD\x82\xCC\xBA\xB0\xC4\xDE"
       "03,04 \r\n"},
      {u"a\nb", "a\nb\r\n"},  // line ends inside the text stay as they are
  };
  for (const Case& c : cases) {
    Result<std::string> encoded = EncodeSavedText(c.text);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(*encoded, c.bytes);
  }
}

TEST(EncodeSavedText, NamesTheLineAndCharacterWithoutCode) {
  struct Case {
    std::u16string text;
    Refusal refusal;
  };
  const Case cases[] = {
      {u"\u00E9", {msg::CannotEncode(u"00E9"), 1}},
      {u"ok\r\nok\r\nx😀", {msg::CannotEncode(u"1F600"), 3}},
      {u"a\n\nb\xD800", {msg::CannotEncode(u"D800"), 3}},
      {u"円\r\n\u00A5", {msg::CannotEncode(u"00A5"), 2}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RefusalOf(EncodeSavedText(c.text)), c.refusal);
  }
  EXPECT_EQ(msg::CannotEncode(u"1F600"),
            u"Shift-JIS（コードページ932）で保存できない文字があります（U+1F600）");
  EXPECT_EQ(msg::CannotEncode(u"00E9"),
            u"Shift-JIS（コードページ932）で保存できない文字があります（U+00E9）");
}

TEST(SaveText, WritesAndReplacesFiles) {
  test::TempDir dir;
  fs::path path = dir / "out.txt";
  ASSERT_TRUE(SaveText(path, u"一回目\r\n"));
  EXPECT_EQ(test::ReadBytes(path), "\x88\xEA\x89\xF1\x96\xDA\r\n\r\n");
  ASSERT_TRUE(SaveText(path, u"2"));
  EXPECT_EQ(test::ReadBytes(path), "2\r\n");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"out.txt"}));
}

#ifndef _WIN32
// Modes and links as POSIX knows them.
TEST(SaveText, GivesNewFilesTheUsualModeAndKeepsAnOldFilesMode) {
  test::TempDir dir;
  mode_t old = umask(022);
  ASSERT_TRUE(SaveText(dir / "new.txt", u"x"));
  umask(old);
  struct stat info {};
  ASSERT_EQ(stat((dir / "new.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);

  test::WriteBytes(dir / "old.txt", "old");
  chmod((dir / "old.txt").c_str(), 0640);
  ASSERT_TRUE(SaveText(dir / "old.txt", u"x"));
  ASSERT_EQ(stat((dir / "old.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(SaveText, ReplacesTheFileBehindALink) {
  test::TempDir dir;
  test::WriteBytes(dir / "real.txt", "old");
  fs::create_symlink("real.txt", dir / "link.txt");
  ASSERT_TRUE(SaveText(dir / "link.txt", u"new"));
  EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
  EXPECT_EQ(test::ReadBytes(dir / "real.txt"), "new\r\n");
}

#endif

// A failed save leaves the old file as it was and nothing else behind.
void ExpectUntouched(const test::TempDir& dir) {
  EXPECT_EQ(test::ReadBytes(dir / "old.txt"), "old contents");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"old.txt"}));
}

TEST(SaveText, FailuresLeaveTheOldFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "old contents");

  EXPECT_EQ(RefusalOf(SaveText(dir / "old.txt", u"ok\r\n😀")),
            (Refusal{msg::CannotEncode(u"1F600"), 2}));
  ExpectUntouched(dir);
  EXPECT_EQ(RefusalOf(SaveText(dir / "new.txt", u"😀")), (Refusal{msg::CannotEncode(u"1F600"), 1}));
  ExpectUntouched(dir);
  EXPECT_EQ(RefusalOf(SaveText(dir / "missing" / "new.txt", u"x")),
            (Refusal{msg::kFolderNotFound, 0}));
  ExpectUntouched(dir);
#ifdef _WIN32
  const char16_t* fileOnPath = msg::kFolderNotFound;
#else
  const char16_t* fileOnPath = msg::kNotFolderOnPath;
#endif
  EXPECT_EQ(RefusalOf(SaveText(dir / "old.txt" / "new.txt", u"x")), (Refusal{fileOnPath, 0}));
  ExpectUntouched(dir);
  EXPECT_EQ(RefusalOf(SaveText(dir.path(), u"x")), (Refusal{msg::kCannotSaveToFolder, 0}));
  ExpectUntouched(dir);
}

#ifndef _WIN32
TEST(SaveText, AWriteErrorLeavesTheOldFile) {
  // A file size limit stops the write half way, and root is bound by it too.
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "old contents");
  struct rlimit limit {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = limit;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  auto saved = SaveText(dir / "old.txt", std::u16string(5000, u'x'));
  setrlimit(RLIMIT_FSIZE, &limit);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(RefusalOf(saved), (Refusal{msg::CannotWrite(EFBIG), 0}));
  ExpectUntouched(dir);
}

TEST(SaveText, RespectsPermissions) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "old contents");
  chmod((dir / "old.txt").c_str(), 0444);
  EXPECT_EQ(RefusalOf(SaveText(dir / "old.txt", u"x")), (Refusal{msg::kNoWritePermission, 0}));
  ExpectUntouched(dir);
  chmod((dir / "old.txt").c_str(), 0644);
  chmod(dir.path().c_str(), 0555);
  EXPECT_EQ(RefusalOf(SaveText(dir / "old.txt", u"x")), (Refusal{msg::kNoWritePermission, 0}));
  EXPECT_EQ(RefusalOf(SaveText(dir / "new.txt", u"x")), (Refusal{msg::kNoWritePermission, 0}));
  chmod(dir.path().c_str(), 0755);
  ExpectUntouched(dir);
}

bool IsCharacterDevice(const fs::path& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

TEST(SaveText, WritesToADeviceInPlace) {
  ASSERT_TRUE(SaveText("/dev/null", u"discarded"));
  EXPECT_TRUE(IsCharacterDevice("/dev/null"));
}

TEST(SaveText, ReportsAFullDevice) {
  test::TempDir dir;
  fs::path full = dir / "full";
  if (mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    GTEST_SKIP() << "cannot make a device node here";
  }
  EXPECT_EQ(RefusalOf(SaveText(full, u"x")), (Refusal{msg::kDiskFull, 0}));
  EXPECT_TRUE(IsCharacterDevice(full));
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"full"}));
}

TEST(SaveText, WritesIntoAPipe) {
  test::TempDir dir;
  fs::path fifo = dir / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] {
    int fd = open(fifo.c_str(), O_RDONLY);
    char buffer[256];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) received.append(buffer, got);
    close(fd);
  });
  auto saved = SaveText(fifo, u"\u3042");
  reader.join();
  EXPECT_TRUE(saved);
  EXPECT_EQ(received, "\x82\xA0\r\n");
  struct stat info {};
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

#else

TEST(SaveText, WritesJapaneseNames) {
  test::TempDir dir;
  fs::path path = dir / "線記号.txt";
  ASSERT_TRUE(SaveText(path, u"一"));
  EXPECT_EQ(test::ReadBytes(path), "\x88\xEA\r\n");
  ASSERT_TRUE(SaveText(path, u"二"));
  EXPECT_EQ(test::ReadBytes(path), "\x93\xF1\r\n");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"線記号.txt"}));
}

TEST(SaveText, RefusesToReplaceAReadOnlyFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "old contents");
  ASSERT_TRUE(SetFileAttributesW((dir / "old.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(RefusalOf(SaveText(dir / "old.txt", u"x")), (Refusal{msg::kNoWritePermission, 0}));
  SetFileAttributesW((dir / "old.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  ExpectUntouched(dir);
}

// A file that another program holds open without sharing cannot be replaced: the rename
// fails and the temporary file is removed again.
TEST(SaveText, AFileInUseIsLeftAsItWas) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "old contents");
  HANDLE held = CreateFileW((dir / "old.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  auto saved = SaveText(dir / "old.txt", u"x");
  CloseHandle(held);
  EXPECT_FALSE(saved);
  ExpectUntouched(dir);
}

TEST(SaveText, WritesToADeviceInPlace) {
  // NUL names the device in every folder; no file of that name may appear.
  test::TempDir dir;
  for (const fs::path& device : {fs::path("NUL"), fs::path("nul"), dir / "NUL"}) {
    EXPECT_TRUE(SaveText(device, u"discarded")) << device;
  }
  EXPECT_EQ(dir.Names(), (std::set<std::string>{}));
}

#endif

}  // namespace
}  // namespace qdvz
