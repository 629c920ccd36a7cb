// Names between the Linux disk (UTF-8) and archives (code page 932).
#pragma once

#include <string>

namespace qpa {

bool Utf8ToCp932(const std::string& text, std::string* out);
bool Cp932ToUtf8(const std::string& text, std::string* out);
// The engine's form of a host path: "Z:\..." in code page 932.
bool EnginePathOf(const std::string& hostPath, std::string* enginePath);

}  // namespace qpa
