// qpa_builtin OUT.cpp: writes the engine's built-in archive image as C++.
#include <cstdio>
#include <fstream>

#include "tools/qpa/BuiltinArchive.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qpa_builtin engine/files/archive/BuiltinArchiveImage.cpp\n");
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << qpa::BuiltinArchiveSource(qpa::BuildBuiltinArchiveBlock());
  if (!out) {
    std::fprintf(stderr, "qpa_builtin: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
