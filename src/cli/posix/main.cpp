// The entry point of qd2vz.
#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/qd2vz_run.h"
#include "io/interrupt.h"

using namespace qdvz::cli;

int main(int argc, char** argv) {
  UseBinaryStreams();
  KeepFreedMemory();
  FailWritesToClosedPipes();
  qdvz::EndCleanlyWhenInterrupted();
  return RunQd2vz(std::vector<std::string>(argv + 1, argv + argc));
}
