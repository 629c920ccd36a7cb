#include "engine/services/Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/core/Engine.h"
#include "engine/core/EngineSettings.h"
#include "engine/files/FileSystem.h"
#include "engine/platform/FilesPort.h"
#include "engine/platform/SystemPort.h"
#include "engine/services/CharSet.h"
#include "engine/services/Memory.h"

namespace {

constexpr size_t LOG_FOLDER_SIZE = 260;
constexpr char LOG_FILE_NAME[] = "Log.txt";
constexpr size_t LOG_PATH_SIZE = LOG_FOLDER_SIZE + sizeof(LOG_FILE_NAME) + 1;
constexpr size_t SHORT_TEXT_LIMIT = 255;
constexpr size_t SHORT_TEXT_SCRATCH = 512;
constexpr size_t FORMAT_BUFFER_SIZE = 1024;
constexpr uint32_t MILLISECOND_MASK = 0x7FFFFFFF;

char logFolder[LOG_FOLDER_SIZE];
// Plain state without a lock: atomics only keep concurrent writers from
// tearing the values, their texts may still interleave.
std::atomic<int> logStartTime{0};
std::atomic<int> logIndent{0};
std::atomic<int> logLineOpen{0};

bool LogDisabled() { return engineSettings.logDisabled != 0; }

// True when the folder's last character (not the second byte of a
// double-byte character) is a separator.
bool EndsWithSeparator(const char* folder) {
  bool separator = false;
  for (const char* at = folder; *at != '\0';) {
    if (IsLeadByte(static_cast<uint8_t>(*at), currentCharSet) && at[1] != '\0') {
      separator = false;
      at += 2;
    } else {
      separator = *at == '\\' || *at == '/';
      at += 1;
    }
  }
  return separator;
}

// folder\Log.txt.
void LogFilePath(char (&path)[LOG_PATH_SIZE]) {
  std::snprintf(path, sizeof(path), "%s%s%s", logFolder, EndsWithSeparator(logFolder) ? "" : "\\",
                LOG_FILE_NAME);
}

// Copies the text with each "\n" turned into CR LF. A "\n" that already
// follows a CR ends the conversion: the rest is copied as it is. Double-byte
// characters are copied as units, so a second byte is never taken for a
// line end. out holds 2 * length + 1 bytes; the result is terminated.
size_t ConvertLineEnds(const char* text, size_t length, char* out) {
  size_t written = 0;
  bool afterCarriageReturn = false;
  for (size_t at = 0; at < length;) {
    const uint8_t byte = static_cast<uint8_t>(text[at]);
    if (byte == '\n') {
      if (afterCarriageReturn) {
        std::memcpy(out + written, text + at, length - at);
        written += length - at;
        break;
      }
      out[written++] = '\r';
      out[written++] = '\n';
      at += 1;
      afterCarriageReturn = false;
    } else if (IsLeadByte(byte, currentCharSet) && at + 1 < length) {
      out[written++] = text[at];
      out[written++] = text[at + 1];
      at += 2;
      afterCarriageReturn = false;
    } else {
      out[written++] = text[at];
      at += 1;
      afterCarriageReturn = byte == '\r';
    }
  }
  out[written] = '\0';
  return written;
}

// The same bytes to the file (when open) and to the debugger.
void Emit(port::HostHandle file, const char* bytes, size_t length) {
  if (file != port::INVALID_HANDLE_VALUE) {
    uint32_t done = 0;
    port::WriteFile(file, bytes, static_cast<uint32_t>(length), &done, nullptr);
  }
  port::OutputDebugStringA(bytes);
}

void EmitLinePrefix(port::HostHandle file) {
  char prefix[16];
  const int elapsed = static_cast<int>((NowMilliseconds(0) - logStartTime.load()) & MILLISECOND_MASK);
  const int length = std::snprintf(prefix, sizeof(prefix), "%d:", elapsed);
  Emit(file, prefix, static_cast<size_t>(length));

  static const char tabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
  constexpr int TABS_AT_ONCE = sizeof(tabs) - 1;
  for (int left = logIndent.load(); left > 0; left -= TABS_AT_ONCE) {
    const int now = left < TABS_AT_ONCE ? left : TABS_AT_ONCE;
    Emit(file, tabs + (TABS_AT_ONCE - now), static_cast<size_t>(now));
  }
}

// Appends one converted text, with the line prefix unless it continues an
// open line. A file that cannot be opened loses the text; the debugger
// still gets it.
void AppendToLog(const char* converted, size_t length, bool endsLine) {
  char path[LOG_PATH_SIZE];
  LogFilePath(path);
  port::HostHandle file = port::CreateFileA(path, port::GENERIC_WRITE, 0, nullptr, port::OPEN_ALWAYS,
                                            port::FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != port::INVALID_HANDLE_VALUE) port::SetFilePointer(file, 0, nullptr, port::FILE_END);
  if (!logLineOpen.load()) EmitLinePrefix(file);
  Emit(file, converted, length);
  logLineOpen.store(endsLine ? 0 : 1);
  if (file != port::INVALID_HANDLE_VALUE) port::CloseHandle(file);
}

// The length of the first limit bytes of text without a double-byte
// character split at the end.
size_t CutAtCharacter(const char* text, size_t limit) {
  size_t at = 0;
  while (at < limit) {
    const size_t unit = IsLeadByte(static_cast<uint8_t>(text[at]), currentCharSet) ? 2 : 1;
    if (at + unit > limit) break;
    at += unit;
  }
  return at;
}

}  // namespace

int EnableLogFile(int enable) {
  engineSettings.logDisabled = enable ? 0 : 1;
  return 0;
}

const char* LogFolder() { return logFolder; }

void SetLogFolder(const char* folder) {
  std::snprintf(logFolder, sizeof(logFolder), "%s", folder != nullptr ? folder : "");
}

void CreateLogFile() {
  if (logFolder[0] == '\0') SetLogFolder(startDirectory);
  // Without a folder nothing can be written, so no file is made either.
  if (LogDisabled() || logFolder[0] == '\0') return;
  char path[LOG_PATH_SIZE];
  LogFilePath(path);
  port::DeleteFileA(path);
  port::HostHandle file = port::CreateFileA(path, port::GENERIC_WRITE, 0, nullptr, port::CREATE_NEW,
                                            port::FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != port::INVALID_HANDLE_VALUE) port::CloseHandle(file);
  logIndent.store(0);
  logLineOpen.store(0);
  logStartTime.store(NowMilliseconds(0));
}

int WriteLog(const char* text) {
  if (text == nullptr || text[0] == '\0') return -1;
  // The text is converted before the switch and the folder are looked at,
  // so a long text takes (and gives back) its scratch block, and with it an
  // allocation id, whether or not the log is on.
  const size_t length = std::strlen(text);
  char shortScratch[SHORT_TEXT_SCRATCH];
  char* longScratch = nullptr;
  char* scratch = shortScratch;
  if (length > SHORT_TEXT_LIMIT) {
    longScratch = static_cast<char*>(MemAlloc(2 * length + 1, nullptr, -1));
    scratch = longScratch;
  }
  const char* converted = text;
  size_t convertedLength = length;
  // Without memory for the conversion the text still gets out, as it is.
  if (scratch != nullptr) {
    convertedLength = ConvertLineEnds(text, length, scratch);
    converted = scratch;
  }
  if (!LogDisabled() && logFolder[0] != '\0') AppendToLog(converted, convertedLength, text[length - 1] == '\n');
  MemFree(longScratch);
  return -1;
}

int LogPrintf(const char* format, ...) {
  char buffer[FORMAT_BUFFER_SIZE];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(buffer, sizeof(buffer) - 1, format, arguments);
  va_end(arguments);
  // vsnprintf cut the text to fit with room for the line break.
  size_t used = length < 0 ? 0 : static_cast<size_t>(length);
  if (used > sizeof(buffer) - 2) used = CutAtCharacter(buffer, sizeof(buffer) - 2);
  buffer[used] = '\n';
  buffer[used + 1] = '\0';
  return WriteLog(buffer);
}

int LogIndentIn() {
  logIndent.fetch_add(1);
  return 0;
}

int LogIndentOut() {
  int level = logIndent.load();
  while (level > 0 && !logIndent.compare_exchange_weak(level, level - 1)) {
  }
  return 0;
}
