// The engine's built-in archive: the shader bundle "QpShaderPack.bin" (the
// hardware renderer's ps_2_0 programs, assembled here token by token) in a
// version 4 archive keyed with no key string, the member compressed, and the
// whole archive compressed once more. qpa_builtin writes it as the engine's
// BuiltinArchiveImage.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qpa {

std::vector<uint8_t> BuildShaderPack();
std::vector<uint8_t> BuildBuiltinArchiveBlock();
// The C++ source holding the block.
std::string BuiltinArchiveSource(const std::vector<uint8_t>& block);

}  // namespace qpa
