// The temporary files are noted in a fixed table that a signal handler may read: it calls
// only unlink, signal, sigprocmask, raise and _exit, which are safe there. A signal that
// comes while a file is being created or renamed only marks itself pending; the step ends
// and then does what the handler would have done.
#include <limits.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <atomic>

#include "io/interrupt.h"

namespace qdvz {
namespace {

struct Note {
  std::atomic<int> state{0};  // kFree, kFilling, kInUse
  char path[PATH_MAX];
};
constexpr int kFree = 0, kFilling = 1, kInUse = 2;
// Files are written one after another; a few notes leave room for a program that writes on
// several threads.
Note notes[16];
std::atomic<int> heldSteps{0};
std::atomic<int> pendingSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

[[noreturn]] void RemoveNotedFilesAndEnd(int signal) {
  for (Note& note : notes) {
    if (note.state.load() == kInUse) unlink(note.path);
  }
  // Ended by the signal itself, so that the parent sees how it ended (a shell says 128 + it).
  ::signal(signal, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  raise(signal);
  _exit(128 + signal);
}

extern "C" void OnInterrupt(int signal) {
  pendingSignal.store(signal);
  if (heldSteps.load() == 0) RemoveNotedFilesAndEnd(signal);
}

}  // namespace

void EndCleanlyWhenInterrupted() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal that the caller ignores (nohup, a background job of a plain shell) stays so.
    struct sigaction before {};
    if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

namespace detail {

InterruptionHeld::InterruptionHeld() {
  heldSteps.fetch_add(1);
}

InterruptionHeld::~InterruptionHeld() {
  if (heldSteps.fetch_sub(1) == 1) {
    if (int signal = pendingSignal.load(); signal != 0) RemoveNotedFilesAndEnd(signal);
  }
}

int NoteTemporaryFile(const std::filesystem::path& path) {
  const std::string& name = path.native();
  if (name.size() >= PATH_MAX) return -1;
  for (int i = 0; i < static_cast<int>(std::size(notes)); ++i) {
    int expected = kFree;
    if (notes[i].state.compare_exchange_strong(expected, kFilling)) {
      memcpy(notes[i].path, name.c_str(), name.size() + 1);
      notes[i].state.store(kInUse);
      return i;
    }
  }
  return -1;
}

void ForgetTemporaryFile(int note) {
  if (note >= 0) notes[note].state.store(kFree);
}

}  // namespace detail
}  // namespace qdvz
