#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace qdvz::test {

struct Qd2vzResult {
  int status;
  std::string out;
  std::string err;
};

// Runs qd2vz with the arguments (shell words) in dir, standard input from stdinFile if any.
// Its standard output and error pass through files outside dir, so that dir holds only what
// qd2vz itself left there.
inline Qd2vzResult RunQd2vz(const TempDir& dir, const std::string& args,
                            const std::string& stdinFile = "") {
  TempDir streams;
  std::string command = "cd '" + dir.path().string() + "' && '" QD2VZ "' " + args + " <" +
                        (stdinFile.empty() ? "/dev/null" : stdinFile) + " >'" +
                        (streams / "stdout.bin").string() + "' 2>'" +
                        (streams / "stderr.txt").string() + "'";
  int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(streams / "stdout.bin"),
          ReadBytes(streams / "stderr.txt")};
}

inline std::string Quoted(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

}  // namespace qdvz::test
