// Saving what the command line cannot show: failures of the system half way through a save,
// the modes and owners a saved file gets. Refusals that a user can cause are in tests/cli.
#include "io/save_text.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "io/interrupt.h"
#else
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "io/interrupt.h"

#include "support/io_cli_faults.h"
#endif

#include "io/file_bytes.h"
#include "io/io_messages.h"
#include "support/refusal.h"
#include "support/temp_dir.h"

namespace qdvz {
namespace {

namespace fs = std::filesystem;
using test::Refusal;
using test::RefusalOf;

const std::u16string kText(5000, u'x');
const std::string kSaved = std::string(5000, 'x') + "\r\n";

#ifndef _WIN32
// A save that fails leaves the old file as it was, or no new file, and nothing else behind;
// interrupted and short calls still save everything.
TEST(SaveText, FailuresOfTheSystemLoseNothing) {
  using test::Call;
  using test::Failing;
  struct Row {
    const char* name;
    test::Faults faults;
    std::u16string message;  // empty: saved
  };
  const Row rows[] = {
      {"write interrupted", {{Call::kWrite, {test::kInterrupted}}}, u""},
      {"short writes", {{Call::kWrite, {test::kHalf, test::kHalf}}}, u""},
      {"close interrupted", {{Call::kClose, {test::kInterrupted}}}, u""},
      {"write fails half way", {{Call::kWrite, {test::kHalf, Failing(ENOSPC)}}}, msg::kDiskFull},
      {"write fails without words",
       {{Call::kWrite, {Failing(EFBIG)}}},
       u"ファイルを書き込めません（エラー番号 27）"},
      {"close reports data lost", {{Call::kClose, {Failing(EIO)}}}, msg::kDeviceError},
      {"another program holds the name", {{Call::kOpen, {Failing(ETXTBSY)}}}, msg::kFileInUse},
      {"read-only place", {{Call::kOpen, {Failing(EROFS)}}}, msg::kReadOnlyFileSystem},
  };
  for (bool old : {false, true}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.name) + (old ? ", replacing" : ", new"));
      if (old && row.faults.contains(Call::kOpen)) continue;  // a replacement opens no name
      test::TempDir dir;
      if (old) test::WriteBytes(dir / "out.txt", "old contents");
      Result<void> saved = [&] {
        test::InjectedFaults faults(row.faults);
        return SaveText(dir / "out.txt", kText);
      }();
      EXPECT_EQ(RefusalOf(saved),
                row.message.empty() ? std::nullopt : std::optional(Refusal{row.message, 0}));
      std::set<std::string> names;
      if (old || row.message.empty()) names.insert("out.txt");
      EXPECT_EQ(dir.Names(), names);
      if (old || row.message.empty()) {
        EXPECT_EQ(test::ReadBytes(dir / "out.txt"), row.message.empty() ? kSaved : "old contents");
      }
    }
  }
}

// A save interrupted half way through its write, as a user's Ctrl+C or a kill would, leaves
// what was there before and nothing else: no temporary file, no new file cut short. The save
// runs in a child process, which ends by the signal.
TEST(SaveText, InterruptedSaveLeavesNothingBehind) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    for (bool old : {false, true}) {
      SCOPED_TRACE(std::to_string(signal) + (old ? ", replacing" : ", new"));
      test::TempDir dir;
      if (old) test::WriteBytes(dir / "out.txt", "old contents");
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        EndCleanlyWhenInterrupted();
        test::InjectedFaults faults({{test::Call::kWrite, {test::kHalf, test::Raising(signal)}}});
        (void)SaveText(dir / "out.txt", kText);
        _exit(0);
      }
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
      EXPECT_EQ(dir.Names(), old ? std::set<std::string>{"out.txt"} : std::set<std::string>{});
      if (old) {
        EXPECT_EQ(test::ReadBytes(dir / "out.txt"), "old contents");
      }
    }
  }
}

// A signal that comes while a file is being created or renamed waits until the outermost
// step ends, then removes the noted files and ends the program by that signal.
TEST(SaveText, InterruptionWaitsForTheStepInHand) {
  test::TempDir dir;
  const fs::path temporary = dir / ".out.txt.tmp";
  test::WriteBytes(temporary, "half written");
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    EndCleanlyWhenInterrupted();
    {
      detail::InterruptionHeld outer;
      detail::NoteTemporaryFile(temporary);
      {
        detail::InterruptionHeld inner;
        raise(SIGTERM);
      }
      test::WriteBytes(dir / "step ended", "");  // the signal is still waiting
    }
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(dir.Names(), std::set<std::string>{"step ended"});
}

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

// A new file gets the mode the umask gives, also when another program took its name meanwhile;
// a replaced file keeps its mode, and its owner where the user may give it. Saving leaves the
// umask as it was.
TEST(SaveText, ModesAndOwners) {
  test::TempDir dir;
  mode_t old = umask(022);
  ASSERT_TRUE(SaveText(dir / "new.txt", u"x"));
  {
    // Another program creates the name while the new file is being written.
    static fs::path raced;
    raced = dir / "raced.txt";
    signal(SIGUSR1, [](int) { close(open(raced.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666)); });
    test::InjectedFaults taken({{test::Call::kWrite, {test::Raising(SIGUSR1)}}});
    ASSERT_TRUE(SaveText(dir / "raced.txt", kText));
    signal(SIGUSR1, SIG_DFL);
  }
  test::WriteBytes(dir / "old.txt", "old");
  chmod((dir / "old.txt").c_str(), 0640);
  ASSERT_TRUE(SaveText(dir / "old.txt", u"x"));
  EXPECT_EQ(umask(old), 022u);
  EXPECT_EQ(ModeOf(dir / "new.txt"), 0644u);
  EXPECT_EQ(ModeOf(dir / "raced.txt"), 0644u);
  EXPECT_EQ(test::ReadBytes(dir / "raced.txt"), kSaved);
  EXPECT_EQ(ModeOf(dir / "old.txt"), 0640u);
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"new.txt", "old.txt", "raced.txt"}));

  if (geteuid() != 0) return;  // only root gives files away
  for (auto [uid, gid] : {std::pair{65534u, 0u}, std::pair{0u, 65534u}}) {
    ASSERT_EQ(chown((dir / "old.txt").c_str(), uid, gid), 0);
    ASSERT_TRUE(SaveText(dir / "old.txt", u"y"));
    struct stat info {};
    stat((dir / "old.txt").c_str(), &info);
    EXPECT_EQ(info.st_uid, uid);
    EXPECT_EQ(info.st_gid, gid);
  }
}
#else

TEST(SaveText, WindowsNamesDevicesAndLocks) {
  test::TempDir dir;
  ASSERT_TRUE(SaveText(dir / "線記号.txt", u"一"));
  ASSERT_TRUE(SaveText(dir / "線記号.txt", u"二"));
  EXPECT_EQ(test::ReadBytes(dir / "線記号.txt"), "\x93\xF1\r\n");
  // NUL names the device in every folder; no file of that name may appear.
  for (const fs::path& device : {fs::path("NUL"), fs::path("nul"), dir / "NUL"}) {
    EXPECT_TRUE(SaveText(device, u"discarded")) << device;
  }
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"線記号.txt"}));

  test::WriteBytes(dir / "old.txt", "old contents");
  ASSERT_TRUE(SetFileAttributesW((dir / "old.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(RefusalOf(SaveText(dir / "old.txt", u"x")), (Refusal{msg::kNoWritePermission, 0}));
  SetFileAttributesW((dir / "old.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  // A file that another program holds open without sharing cannot be replaced, and saving
  // says why as loading does.
  HANDLE held = CreateFileW((dir / "old.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(RefusalOf(SaveText(dir / "old.txt", u"x")), (Refusal{msg::kFileInUse, 0}));
  EXPECT_EQ(ReadFileBytes(dir / "old.txt").failure().message, msg::kFileInUse);
  CloseHandle(held);
  EXPECT_TRUE(ReadFileBytes("NUL"));
  EXPECT_EQ(test::ReadBytes(dir / "old.txt"), "old contents");
  // A name longer than Windows takes is named so, not as a missing folder.
  EXPECT_EQ(RefusalOf(SaveText(dir / std::string(300, 'x'), u"x")),
            (Refusal{msg::kNameTooLong, 0}));
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"old.txt", "線記号.txt"}));

  // A replaced file keeps its attributes, whether named absolutely or not.
  ASSERT_TRUE(SetFileAttributesW((dir / "old.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SaveText(dir / "old.txt", u"new"));
  const fs::path here = fs::current_path();
  fs::current_path(dir.path());
  ASSERT_TRUE(SaveText("old.txt", u"newer"));
  fs::current_path(here);
  EXPECT_EQ(GetFileAttributesW((dir / "old.txt").c_str()) &
                (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
            DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
  EXPECT_EQ(test::ReadBytes(dir / "old.txt"), "newer\r\n");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"old.txt", "線記号.txt"}));
}

// Ctrl+C in the console ends qd2vz as SIGINT ends it on POSIX: the temporary files noted so
// far are removed first, and the status is 128 + 2. The event is raised in a child (a death
// test) with a console of its own; the child runs the test again from its start, so the file
// has a name both know. (wine delivers Ctrl+C this way, not Ctrl+Break.)
TEST(SaveText, CtrlCRemovesTemporaryFiles) {
  const fs::path temporary = fs::temp_directory_path() / ".qdvz-ctrl-c-test.tmp";
  test::WriteBytes(temporary, "half written");
  EXPECT_EXIT(
      {
        EndCleanlyWhenInterrupted();
        {
          detail::InterruptionHeld held;
          detail::NoteTemporaryFile(temporary);
        }
        FreeConsole();
        AllocConsole();
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
        Sleep(10000);
      },
      testing::ExitedWithCode(128 + 2), "");
  EXPECT_FALSE(fs::exists(temporary));
  fs::remove(temporary);
}

#endif

// Saved text gets one CR LF; a character it cannot hold is named with its line, counted by
// line feeds (the first line is 1).
TEST(SaveText, EncodesWithALineEndAndNamesTheLineRefused) {
  EXPECT_EQ(*EncodeSavedText(u"a\nb"), "a\nb\r\n");
  struct Row {
    std::u16string text;
    Refusal refusal;
  };
  const Row rows[] = {
      {u"\u00E9", {msg::CannotEncode(u"00E9"), 1}},
      {u"ok\r\nok\r\nx😀", {msg::CannotEncode(u"1F600"), 3}},
      {u"a\n\nb\xDC00\xDC00", {msg::CannotEncode(u"DC00"), 3}},
      {u"円\r\n\u00A5", {msg::CannotEncode(u"00A5"), 2}},
  };
  for (const Row& row : rows) EXPECT_EQ(RefusalOf(EncodeSavedText(row.text)), row.refusal);
}

// Text that code page 932 cannot hold is never saved, and the old file stays.
TEST(SaveText, RefusedTextLeavesTheOldFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "old contents");
  EXPECT_EQ(RefusalOf(SaveText(dir / "old.txt", u"ok\r\n😀")),
            (Refusal{msg::CannotEncode(u"1F600"), 2}));
  EXPECT_EQ(test::ReadBytes(dir / "old.txt"), "old contents");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"old.txt"}));
}

}  // namespace
}  // namespace qdvz
