// Corpora: "sheets" is the game's two sheets from data/; "mixed" is text,
// a sheet, noise and a table of numbers, as an archive of game data holds;
// "random" is 16 MiB of incompressible bytes, where the encoder has to give
// up quickly.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/files/LocateArchive.h"
#include "engine/files/StreamFunctions.h"
#include "engine/files/archive/ArchiveTable.h"
#include "engine/files/archive/Compression.h"
#include "tools/qpa/ArchiveWriter.h"
#include "tools/qpa/Compressor.h"

namespace {

std::vector<uint8_t> HostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> Sheets() {
  std::vector<uint8_t> a = HostFile(VEXLO_DATA_SOURCE "/actors.bmp");
  std::vector<uint8_t> f = HostFile(VEXLO_DATA_SOURCE "/font.bmp");
  a.insert(a.end(), f.begin(), f.end());
  return a;
}

std::vector<uint8_t> Mixed() {
  std::vector<uint8_t> out;
  std::mt19937 random(5);
  const char* words[] = {"ball ", "catch ", "chain ", "score ", "colour ", "time ", "up\n", "phase ", "= ", "{ "};
  while (out.size() < 400000) {
    const char* w = words[random() % 10];
    out.insert(out.end(), w, w + std::char_traits<char>::length(w));
  }
  std::vector<uint8_t> sheet = HostFile(VEXLO_DATA_SOURCE "/actors.bmp");
  out.insert(out.end(), sheet.begin(), sheet.end());
  for (int i = 0; i < 100000; ++i) out.push_back(static_cast<uint8_t>(random()));
  for (int i = 0; i < 20000; ++i) {
    std::string row = std::to_string(i) + "," + std::to_string(i * 37 % 1000) + "\n";
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<uint8_t> Random() {
  std::vector<uint8_t> out(16 << 20);
  std::mt19937 random(9);
  for (uint8_t& b : out) b = static_cast<uint8_t>(random());
  return out;
}

const std::vector<uint8_t>& Corpus(int which) {
  static const std::vector<uint8_t> sheets = Sheets();
  static const std::vector<uint8_t> mixed = Mixed();
  if (which == 0) return sheets;
  if (which == 1) return mixed;
  static const std::vector<uint8_t> random = Random();
  return random;
}
const char* CorpusName(int which) { return which == 0 ? "sheets" : which == 1 ? "mixed" : "random"; }

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<uint8_t> out(size);
  compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level);
  out.resize(size);
  return out;
}

void Report(benchmark::State& state, size_t input, size_t output) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input));
  state.counters["ratio"] = static_cast<double>(output) / static_cast<double>(input);
  state.SetLabel(CorpusName(static_cast<int>(state.range(0))));
}

void BM_ExpandCompressed(benchmark::State& state) {
  const std::vector<uint8_t>& data = Corpus(static_cast<int>(state.range(0)));
  std::vector<uint8_t> block = qpa::CompressBlock(data.data(), data.size());
  std::vector<uint8_t> out(data.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ExpandCompressed(block.data(), static_cast<uint32_t>(block.size()), out.data(), static_cast<uint32_t>(out.size())));
  }
  Report(state, data.size(), block.size());
}

void BM_ZlibInflate(benchmark::State& state) {
  const std::vector<uint8_t>& data = Corpus(static_cast<int>(state.range(0)));
  std::vector<uint8_t> packed = ZlibCompress(data, 6);
  std::vector<uint8_t> out(data.size());
  for (auto _ : state) {
    uLongf size = static_cast<uLongf>(out.size());
    benchmark::DoNotOptimize(uncompress(out.data(), &size, packed.data(), static_cast<uLong>(packed.size())));
  }
  Report(state, data.size(), packed.size());
}

void BM_QpaCompress(benchmark::State& state) {
  const std::vector<uint8_t>& data = Corpus(static_cast<int>(state.range(0)));
  size_t packed = 0;
  for (auto _ : state) packed = qpa::CompressBlock(data.data(), data.size()).size();
  Report(state, data.size(), packed);
}

void BM_ZlibDeflate6(benchmark::State& state) {
  const std::vector<uint8_t>& data = Corpus(static_cast<int>(state.range(0)));
  size_t packed = 0;
  for (auto _ : state) packed = ZlibCompress(data, 6).size();
  Report(state, data.size(), packed);
}

// Reading 1 MiB through the stream table in 64 KiB requests: a plain member
// of a keyed archive against the same bytes in a loose file.
class ReadFixture {
 public:
  ReadFixture() {
    folder = std::filesystem::temp_directory_path() / "vexlo-files-bench";
    std::filesystem::create_directories(folder / "loose");
    std::filesystem::current_path(folder);
    std::mt19937 random(3);
    data.resize(1 << 20);
    for (uint8_t& b : data) b = static_cast<uint8_t>(random());
    std::ofstream(folder / "loose" / "member.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    qpa::SourceDirectory root;
    root.files.push_back({"MEMBER.BIN", data, {}});
    qpa::WriteOptions options;
    options.compress = false;
    options.key = qpa::KeyChoice::KeyString;
    options.keyString = "7f3c9e0b51d2";
    std::vector<uint8_t> image = qpa::BuildArchive(root, options, nullptr);
    std::ofstream(folder / "PACKED.QPA", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    SetArchiveKey("7f3c9e0b51d2");
  }
  std::filesystem::path folder;
  std::vector<uint8_t> data;
};

ReadFixture& Files() {
  static ReadFixture fixture;
  return fixture;
}

void ReadWhole(benchmark::State& state, const char* path) {
  Files();
  std::vector<uint8_t> buffer(64 * 1024);
  for (auto _ : state) {
    FileHandle h = streamFunctions.Open(path, 0, 1, 0);
    if (!h) {
      state.SkipWithError("open failed");
      break;
    }
    while (streamFunctions.Read(buffer.data(), 1, buffer.size(), h) > 0) {
    }
    streamFunctions.Close(h);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (1 << 20));
}

void BM_ReadLooseFile(benchmark::State& state) { ReadWhole(state, "loose\\member.bin"); }
void BM_ReadPlainKeyedMember(benchmark::State& state) { ReadWhole(state, "packed\\member.bin"); }

}  // namespace

BENCHMARK(BM_ExpandCompressed)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QpaCompress)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibDeflate6)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLooseFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadPlainKeyedMember)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
