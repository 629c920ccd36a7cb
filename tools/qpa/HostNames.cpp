#include "tools/qpa/HostNames.h"

#include <iconv.h>

#include <cerrno>
#include <filesystem>

namespace qpa {
namespace {

bool Convert(const char* to, const char* from, const std::string& text, std::string* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string result(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* dst = result.data();
  size_t dstLeft = result.size();
  bool ok = iconv(cd, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && inLeft == 0;
  iconv_close(cd);
  if (!ok) return false;
  result.resize(result.size() - dstLeft);
  *out = result;
  return true;
}

}  // namespace

bool Utf8ToCp932(const std::string& text, std::string* out) { return Convert("CP932", "UTF-8", text, out); }
bool Cp932ToUtf8(const std::string& text, std::string* out) { return Convert("UTF-8", "CP932", text, out); }

bool EnginePathOf(const std::string& hostPath, std::string* enginePath) {
  std::string absolute = std::filesystem::absolute(hostPath).lexically_normal().string();
  std::string result = "Z:";
  std::string component;
  auto flush = [&]() {
    if (component.empty()) return true;
    std::string converted;
    if (!Utf8ToCp932(component, &converted)) return false;
    result += "\\" + converted;
    component.clear();
    return true;
  };
  for (char c : absolute) {
    if (c == '/') {
      if (!flush()) return false;
    } else {
      component += c;
    }
  }
  if (!flush()) return false;
  if (result.size() == 2) result += "\\";
  *enginePath = result;
  return true;
}

}  // namespace qpa
