// The engine's built-in archive: it opens with no key string, holds the
// shader bundle, and is what qpa_builtin makes from the programs today.
#include <gtest/gtest.h>

#include <vector>

#include "engine/files/archive/ArchiveFormat.h"
#include "engine/files/archive/ShaderPack.h"
#include "engine/services/Memory.h"
#include "tools/qpa/BuiltinArchive.h"

TEST(BuiltinArchive, HoldsTheShaderBundle) {
  uint8_t* pack = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(LoadShaderPack(&pack, &size), 0);
  std::vector<uint8_t> loaded(pack, pack + size);
  MemFree(pack);
  EXPECT_EQ(loaded, qpa::BuildShaderPack());
  for (const char* name : {SHADER_TEXTURE_MODULATE, SHADER_DIFFUSE, SHADER_TEXTURE_ALPHA_MODULATE}) {
    const uint8_t* tokens = nullptr;
    uint32_t count = 0;
    ASSERT_EQ(FindShaderProgram(loaded.data(), size, name, &tokens, &count), 0) << name;
    ASSERT_GE(count, 3u);
    EXPECT_EQ(LoadU32(tokens), 0xFFFF0200u) << name << ": ps_2_0";
    EXPECT_EQ(LoadU32(tokens + 4 * (count - 1)), 0x0000FFFFu) << name << ": end token";
  }
  const uint8_t* tokens;
  uint32_t count;
  EXPECT_EQ(FindShaderProgram(loaded.data(), size, "Missing", &tokens, &count), -1);
  EXPECT_EQ(FindShaderProgram(loaded.data(), 20, SHADER_DIFFUSE, &tokens, &count), -1) << "cut short";
}

TEST(BuiltinArchive, IsUpToDateWithItsGenerator) {
  std::vector<uint8_t> committed(builtinArchiveBlock, builtinArchiveBlock + builtinArchiveBlockSize);
  EXPECT_EQ(committed, qpa::BuildBuiltinArchiveBlock())
      << "run qpa_builtin engine/files/archive/BuiltinArchiveImage.cpp";
}
