// The faults the sweeps found, each made again with its one failing call:
// the program links the same fault points as vexlo_fault_sweep.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/files/DiskFile.h"
#include "engine/platform/faults/FaultPoints.h"

namespace {

namespace fs = std::filesystem;

class FaultRegression : public ::testing::Test {
 protected:
  void SetUp() override {
    faults::Reset();
    scratch_ = fs::temp_directory_path() /
               ("vexlo-fault-regression-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(scratch_);
  }
  void TearDown() override {
    faults::Reset();
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }

  std::string WriteScratchFile(const char* name, size_t size) {
    const fs::path path = scratch_ / name;
    std::ofstream out(path, std::ios::binary);
    for (size_t i = 0; i < size; ++i) out.put(char(i * 7));
    return "Z:" + path.string();
  }

  fs::path scratch_;
};

// A file read through its reader thread (with the read-ahead cache, as
// archives are read): the platform read under the request fails, or comes
// back with half the bytes. The read reports the whole elements that
// arrived, not the ones asked for. (The thread may read ahead by itself
// first when the machine keeps this thread waiting: then that read-ahead
// took the failure, and the case is run again.)
TEST_F(FaultRegression, AThreadedReadCountsWhatTheThreadDelivered) {
  struct Case {
    faults::ReadFault fault;
    size_t expected;  // elements of 100 bytes out of 8
  };
  const Case cases[] = {{faults::ReadFault::FAIL, 0}, {faults::ReadFault::SHORT, 4}};
  const std::string path = WriteScratchFile("threaded.bin", 800);
  for (const Case& c : cases) {
    size_t read = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
      DiskFile* file = OpenDiskFile(path.c_str(), 1, 0);
      ASSERT_NE(file, nullptr);
      std::vector<uint8_t> buffer(800);
      faults::SetReadFault(c.fault);
      faults::Arm(faults::FILE_READ, 1);
      read = DiskFileRead(buffer.data(), 100, 8, file);
      faults::Arm(faults::FILE_READ, 0);
      DiskFileClose(file);
      if (read != 8) break;  // the request's own read failed
    }
    EXPECT_EQ(read, c.expected);
  }
}

}  // namespace
