// archive_fuzz_seeds ARCHIVE_DIR BLOCK_DIR: the seed corpus of the two fuzz
// targets, made by qpa's writer: plain (un-keyed) archives of every version
// with nested directories, plain and compressed members and code page 932
// names, and compressed blocks of a few kinds of data.
#include <cstdio>
#include <string>
#include <vector>

#include "engine/files/archive/ArchiveKey.h"
#include "tools/qpa/ArchiveWriter.h"
#include "tools/qpa/Compressor.h"

namespace {

void Save(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::vector<uint8_t> Text(size_t n) {
  std::string s;
  while (s.size() < n) s += "catch the balls of seven colours, chain them, ";
  return std::vector<uint8_t>(s.begin(), s.begin() + static_cast<long>(n));
}

std::vector<uint8_t> Noise(size_t n, uint32_t seed) {
  std::vector<uint8_t> v(n);
  for (uint8_t& b : v) b = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  qpa::SourceDirectory root;
  root.files.push_back({"A.BMP", Text(300), {}});
  root.files.push_back({"noise.bin", Noise(200, 1), {}});
  qpa::SourceDirectory sub;
  sub.name = "SUB";
  sub.files.push_back({"表示.txt", Text(90), {}});
  qpa::SourceDirectory deeper;
  deeper.name = "DEEP";
  deeper.files.push_back({"z", {}, {}});
  sub.directories.push_back(deeper);
  root.directories.push_back(sub);
  for (int version = 0; version <= 4; ++version) {
    qpa::WriteOptions options;
    options.version = version;
    std::vector<uint8_t> image = qpa::BuildArchive(root, options, nullptr);
    uint8_t key[ARCHIVE_KEY_SIZE];
    MakeArchiveKey(nullptr, key);
    ApplyArchiveKey(static_cast<uint32_t>(image.size()), image.data(), 0, key);  // the plain form
    Save(std::string(argv[1]) + "/v" + std::to_string(version) + ".qpa", image);
  }
  std::vector<std::vector<uint8_t>> inputs = {Text(2000), Noise(500, 2), std::vector<uint8_t>(9000, 7), {}};
  for (size_t i = 0; i < inputs.size(); ++i)
    Save(std::string(argv[2]) + "/block" + std::to_string(i), qpa::CompressBlock(inputs[i].data(), inputs[i].size()));
  return 0;
}
