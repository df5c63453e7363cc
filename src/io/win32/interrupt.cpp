// Windows calls the console's handler on a thread of its own, which may wait: it takes the
// lock that every step of creating or renaming a temporary file holds, so that it sees only
// whole steps, removes the noted files and ends the process.
#include <windows.h>

#include <array>
#include <mutex>
#include <optional>

#include "io/interrupt.h"

namespace qdvz {
namespace {

std::recursive_mutex& StepLock() {
  static std::recursive_mutex lock;
  return lock;
}

std::array<std::optional<std::filesystem::path>, 16>& Notes() {
  static std::array<std::optional<std::filesystem::path>, 16> notes;
  return notes;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  // Ctrl+C is SIGINT (2); Ctrl+Break, closing the console, logging off and shutting down end
  // the program as SIGTERM (15) would.
  const UINT status = event == CTRL_C_EVENT ? 128 + 2 : 128 + 15;
  StepLock().lock();  // never unlocked: the process ends here
  for (auto& note : Notes()) {
    if (note) DeleteFileW(note->c_str());
  }
  ExitProcess(status);
}

}  // namespace

void EndCleanlyWhenInterrupted() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

namespace detail {

InterruptionHeld::InterruptionHeld() {
  StepLock().lock();
}

InterruptionHeld::~InterruptionHeld() {
  StepLock().unlock();
}

int NoteTemporaryFile(const std::filesystem::path& path) {
  auto& notes = Notes();
  for (size_t i = 0; i < notes.size(); ++i) {
    if (!notes[i]) {
      notes[i] = std::filesystem::absolute(path);
      return static_cast<int>(i);
    }
  }
  return -1;
}

void ForgetTemporaryFile(int note) {
  if (note >= 0) Notes()[static_cast<size_t>(note)].reset();
}

}  // namespace detail
}  // namespace qdvz
