// The entry point of qd2vz.
#include <cwchar>
#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/qd2vz_run.h"
#include "convert/text.h"
#include "io/interrupt.h"

using namespace qdvz::cli;

// The wide-character entry point receives every file name as the user typed it, Japanese
// included, whatever the ANSI code page.
int wmain(int argc, wchar_t** argv) {
  UseBinaryStreams();
  KeepFreedMemory();
  FailWritesToClosedPipes();
  qdvz::EndCleanlyWhenInterrupted();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::u16string arg(argv[i], argv[i] + std::wcslen(argv[i]));
    // A lone surrogate has no UTF-8 form; any stand-in would name another file.
    if (qdvz::FindLoneSurrogate(arg) != std::u16string::npos) {
      WriteError("qd2vz: 引数 " + std::to_string(i) + " に UTF-16 として不正な文字があります\n");
      return 2;
    }
    args.push_back(qdvz::ToUtf8(arg));
  }
  int status = RunQd2vz(args);
  return status;  // wine needs wmain to return explicitly
}
