// make_mixed_files DIR COUNT [LINES]: writes DIR/sizes.qdc and COUNT mixed QD files
// DIR/mixedNNNN.dat of LINES lines each (1199 by default), all different.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "mixed_data.h"

namespace {

bool Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_mixed_files DIR COUNT [LINES]\n");
    return 2;
  }
  std::filesystem::path dir = argv[1];
  int count = std::atoi(argv[2]);
  int lines = argc > 3 ? std::atoi(argv[3]) : 1199;
  std::filesystem::create_directories(dir);
  if (!Write(dir / "sizes.qdc", qdvz::bench::MixedSizeFile())) return 1;
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "mixed%04d.dat", i);
    if (!Write(dir / name, qdvz::bench::MixedQdFile(lines, i))) return 1;
  }
  return 0;
}
