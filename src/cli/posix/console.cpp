#include "cli/console.h"

#include <csignal>
#include <cstdio>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace qdvz::cli {

extern const char kPlatformHelpSwitch[] = "";

std::filesystem::path ArgPath(const std::string& arg) {
  return std::filesystem::path(arg);
}

std::string Shown(const std::filesystem::path& path) {
  return path.string();
}

bool WriteText(TextStream stream, const std::string& text) {
  FILE* const file = stream == TextStream::kOutput ? stdout : stderr;
  return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
}

void UseBinaryStreams() {}

void FailWritesToClosedPipes() {
  signal(SIGPIPE, SIG_IGN);
}

void KeepFreedMemory() {
#ifdef __GLIBC__
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_TOP_PAD, 16 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

bool HasWildcard(const std::string&) {
  return false;
}

std::vector<FileArg> ExpandWildcards(const std::vector<FileArg>& args) {
  return args;
}

}  // namespace qdvz::cli
