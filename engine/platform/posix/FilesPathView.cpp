// Path translation for the Linux files port. See FilesPathView.h.
#include "engine/platform/posix/FilesPathView.h"

#include <dirent.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>
#include <vector>

namespace filesview {
namespace {

// One iconv converter per thread and direction: reader threads open files
// concurrently and an iconv_t must not be shared between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle(iconv_open(to, from)) {}
  ~Converter() {
    if (handle != reinterpret_cast<iconv_t>(-1)) iconv_close(handle);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Run(const std::string& in, std::string* out) {
    if (handle == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    std::string result(in.size() * 3 + 8, '\0');
    char* source = const_cast<char*>(in.data());
    size_t sourceLeft = in.size();
    char* target = result.data();
    size_t targetLeft = result.size();
    while (sourceLeft > 0) {
      if (iconv(handle, &source, &sourceLeft, &target, &targetLeft) == static_cast<size_t>(-1)) {
        if (errno != E2BIG) return false;
        size_t used = static_cast<size_t>(target - result.data());
        result.resize(result.size() * 2);
        target = result.data() + used;
        targetLeft = result.size() - used;
      }
    }
    result.resize(static_cast<size_t>(target - result.data()));
    *out = std::move(result);
    return true;
  }

 private:
  iconv_t handle;
};

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitComponents(const std::string& text, size_t from) {
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = from; i < text.size(); ++i) {
    if (IsSeparator(text[i])) {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current += text[i];
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

bool Exists(const std::string& hostPath) {
  struct stat info;
  return lstat(hostPath.c_str(), &info) == 0;
}

// The entry of directory whose name equals name without regard to case:
// an exact match first, else the first such name in byte order.
bool FindEntryIgnoringCase(const std::string& directory, const std::string& name,
                           std::string* found) {
  std::string exact = directory == "/" ? "/" + name : directory + "/" + name;
  if (Exists(exact)) {
    *found = name;
    return true;
  }
  DIR* listing = opendir(directory.c_str());
  if (!listing) return false;
  bool any = false;
  while (dirent* entry = readdir(listing)) {
    std::string candidate = entry->d_name;
    if (SameNameIgnoringCase(candidate, name) && (!any || candidate < *found)) {
      *found = candidate;
      any = true;
    }
  }
  closedir(listing);
  return any;
}

bool CurrentHostDirectory(std::string* out) {
  char buffer[PATH_MAX];
  if (!getcwd(buffer, sizeof buffer)) return false;
  *out = buffer;
  return true;
}

}  // namespace

bool Cp932ToUtf8(const std::string& text, std::string* out) {
  if (IsAscii(text)) {
    *out = text;
    return true;
  }
  thread_local Converter converter("UTF-8", "CP932");
  return converter.Run(text, out);
}

bool Utf8ToCp932(const std::string& text, std::string* out) {
  if (IsAscii(text)) {
    *out = text;
    return true;
  }
  thread_local Converter converter("CP932", "UTF-8");
  return converter.Run(text, out);
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool HostPathOf(const char* windowsPath, bool lastMayBeNew, std::string* hostPath) {
  if (!windowsPath) return false;
  std::string path;
  if (!Cp932ToUtf8(windowsPath, &path) || path.empty()) return false;

  // Where the components start and what they are relative to.
  std::vector<std::string> base;
  size_t from = 0;
  bool relative = true;
  if (path.size() >= 2 && path[1] == ':') {
    if (path[0] != 'Z' && path[0] != 'z') return false;
    from = 2;
    relative = !(path.size() > 2 && IsSeparator(path[2]));
  } else if (IsSeparator(path[0])) {
    if (path.size() > 1 && IsSeparator(path[1])) return false;  // UNC: no such host
    relative = false;
  }
  if (relative) {
    std::string current;
    if (!CurrentHostDirectory(&current)) return false;
    base = SplitComponents(current, 0);
  }
  size_t existingDepth = base.size();  // components known to exist as spelled

  // "." and ".." are resolved by the names, as Windows does, never by links.
  std::vector<std::string> parts = base;
  for (const std::string& part : SplitComponents(path, from)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      if (existingDepth > parts.size()) existingDepth = parts.size();
      continue;
    }
    parts.push_back(part);
  }

  std::string lexical;
  for (const std::string& part : parts) lexical += "/" + part;
  if (lexical.empty()) lexical = "/";
  if (Exists(lexical)) {
    *hostPath = lexical;
    return true;
  }

  std::string resolved;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string directory = resolved.empty() ? "/" : resolved;
    std::string name;
    if (i < existingDepth) {
      name = parts[i];
    } else if (!FindEntryIgnoringCase(directory, parts[i], &name)) {
      if (!(lastMayBeNew && i + 1 == parts.size())) return false;
      name = parts[i];
    }
    resolved += "/" + name;
  }
  *hostPath = resolved.empty() ? "/" : resolved;
  return true;
}

bool WindowsPathOf(const std::string& hostPath, std::string* windowsPath) {
  // Split before converting: a code page 932 trail byte may be 0x5C.
  std::string result = "Z:";
  for (const std::string& part : SplitComponents(hostPath, 0)) {
    std::string converted;
    if (!Utf8ToCp932(part, &converted)) return false;
    result += "\\" + converted;
  }
  if (result.size() == 2) result += "\\";
  *windowsPath = result;
  return true;
}

}  // namespace filesview
