// A log for one test: a fresh folder in the temporary directory, logging
// on, the log created at the virtual clock's current reading, and the
// debugger output of the headless adapter emptied. Reads back what the file
// and the debugger received.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/core/Engine.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "engine/services/CharSet.h"
#include "engine/services/Log.h"

class LogCapture {
 public:
  LogCapture() {
    static std::atomic<int> serial{0};
    hostFolder_ = std::filesystem::temp_directory_path() /
                  ("vexlo-services-" +
                   std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                   std::to_string(serial++));
    std::filesystem::create_directories(hostFolder_);
    folder_ = EngineFormOf(hostFolder_);
    currentCharSet = CHARSET_SHIFTJIS;
    EnableLogFile(1);
    SetLogFolder(folder_.c_str());
    CreateLogFile();
    headless::ClearDebuggerOutput();
  }
  ~LogCapture() {
    SetLogFolder("");
    EnableLogFile(1);
    currentCharSet = CHARSET_DEFAULT;
    std::error_code ignored;
    std::filesystem::remove_all(hostFolder_, ignored);
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // The folder as the engine names it ("Z:\tmp\..." on Linux).
  const std::string& Folder() const { return folder_; }
  const std::filesystem::path& HostFolder() const { return hostFolder_; }
  std::filesystem::path LogPath() const { return hostFolder_ / "Log.txt"; }
  bool LogExists() const { return std::filesystem::exists(LogPath()); }

  std::string FileText() const {
    std::ifstream in(LogPath(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static std::string Debugger() { return headless::DebuggerOutput(); }

  // Writes a file of the given content where the log lives.
  void PutLogFile(const std::string& content) const {
    std::ofstream out(LogPath(), std::ios::binary | std::ios::trunc);
    out << content;
  }

 private:
  static std::string EngineFormOf(const std::filesystem::path& host) {
#if defined(_WIN32)
    return host.string();
#else
    std::string form = "Z:" + host.string();
    for (char& c : form)
      if (c == '/') c = '\\';
    return form;
#endif
  }

  std::filesystem::path hostFolder_;
  std::string folder_;
};
