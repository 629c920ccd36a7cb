// qpa create OUT.QPA DIR [--key STRING | --fallback-key] [--version N] [--no-compress] [--force]
// qpa list ARCHIVE [--key STRING]
// qpa extract ARCHIVE DIR [--key STRING]
// qpa verify ARCHIVE [--key STRING]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/qpa/QpaCommands.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage:\n"
               "  qpa create OUT.QPA DIR [--key STRING | --fallback-key] [--version N] [--no-compress] [--force]\n"
               "  qpa list ARCHIVE [--key STRING]\n"
               "  qpa extract ARCHIVE DIR [--key STRING]\n"
               "  qpa verify ARCHIVE [--key STRING]\n"
               "Without --key the archive has no key string; the fallback key is always accepted when reading.\n");
  return 2;
}

struct Arguments {
  std::vector<std::string> positional;
  bool hasKey = false;
  std::string key;
  bool fallbackKey = false;
  int version = 4;
  bool compress = true;
  bool force = false;
};

bool Parse(int argc, char** argv, Arguments* a) {
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--key" && i + 1 < argc) {
      a->hasKey = true;
      a->key = argv[++i];
    } else if (arg == "--version" && i + 1 < argc) {
      char* end = nullptr;
      long v = std::strtol(argv[++i], &end, 10);
      if (*end || v < 0 || v > 4) {
        std::fprintf(stderr, "qpa: --version takes 0 to 4\n");
        return false;
      }
      a->version = static_cast<int>(v);
    } else if (arg == "--fallback-key") {
      a->fallbackKey = true;
    } else if (arg == "--no-compress") {
      a->compress = false;
    } else if (arg == "--force") {
      a->force = true;
    } else if (arg.rfind("--", 0) == 0) {
      std::fprintf(stderr, "qpa: unknown option %s\n", arg.c_str());
      return false;
    } else {
      a->positional.push_back(arg);
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  Arguments a;
  if (!Parse(argc, argv, &a)) return Usage();
  const char* key = a.hasKey ? a.key.c_str() : nullptr;
  if (command == "create" && a.positional.size() == 2) {
    if (a.hasKey && a.fallbackKey) return Usage();
    qpa::CreateRequest request;
    request.archivePath = a.positional[0];
    request.directory = a.positional[1];
    request.force = a.force;
    request.options.version = a.version;
    request.options.compress = a.compress;
    request.options.key = a.fallbackKey ? qpa::KeyChoice::Fallback
                          : a.hasKey    ? qpa::KeyChoice::KeyString
                                        : qpa::KeyChoice::NoKeyString;
    request.options.keyString = a.key;
    return qpa::CreateCommand(request);
  }
  if (command == "list" && a.positional.size() == 1) return qpa::ListCommand(a.positional[0], key);
  if (command == "extract" && a.positional.size() == 2) return qpa::ExtractCommand(a.positional[0], a.positional[1], key);
  if (command == "verify" && a.positional.size() == 1) return qpa::VerifyCommand(a.positional[0], key);
  return Usage();
}
