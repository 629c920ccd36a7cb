// The log: "Log.txt" in the start directory, one line per message with the
// milliseconds since the log was created and one tab per indentation level;
// every text also goes to the debugger output. EnableLogFile (Engine.h)
// switches both off.
#pragma once

// Called once during start-up, after the start directory was saved.
void CreateLogFile();
// Writes the text; "\n" becomes CR LF. Always -1, so that error paths can
// write their message and return in one statement.
int WriteLog(const char* text);
// printf into a 1024-byte buffer (longer output is cut), then "\n", then
// WriteLog. Always -1.
int LogPrintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
int LogIndentIn();
int LogIndentOut();
