#pragma once

// What an interrupted program leaves: none of the temporary files through which it writes.
#include <filesystem>

namespace qdvz {

// From now on SIGINT, SIGTERM and SIGHUP (on Windows Ctrl+C, Ctrl+Break and closing the
// console) remove the temporary files that writing has made and not yet renamed, then end
// the program with the status 128 + the signal. For programs that end when interrupted
// anyway (qd2vz); a window keeps its own ways.
void EndCleanlyWhenInterrupted();

namespace detail {

// While one lives on some thread, an interruption waits until it is gone: creating a
// temporary file and noting it, or renaming it and forgetting it, is one step that an
// interruption never cuts in two. Steps may nest.
class InterruptionHeld {
 public:
  InterruptionHeld();
  ~InterruptionHeld();
  InterruptionHeld(const InterruptionHeld&) = delete;
  InterruptionHeld& operator=(const InterruptionHeld&) = delete;
};

// Notes a temporary file that an interruption removes, until it is forgotten; both are
// called while an InterruptionHeld lives. Returns the note to forget, or -1 when the file
// could not be noted (a name beyond the system's limit): writing goes on all the same.
int NoteTemporaryFile(const std::filesystem::path& path);
void ForgetTemporaryFile(int note);

}  // namespace detail
}  // namespace qdvz
