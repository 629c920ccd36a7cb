// The log: "Log.txt" in the start directory, one line per message with the
// milliseconds since the log was created and one tab per indentation level;
// every text also goes to the debugger output. EnableLogFile (Engine.h)
// switches both off: then nothing at all is written, created or deleted.
//
// Each WriteLog opens the file, appends and closes it again, so the file is
// complete at every moment. The log has no lock: texts written from several
// threads at once may interleave.
#pragma once

// Called once during start-up, after the start directory was saved: takes
// the start directory as the folder when none was set, deletes the log file
// and creates it anew, empty, and starts the millisecond count from now.
void CreateLogFile();
// Writes the text; "\n" becomes CR LF (up to a "\n" that already follows a
// CR: from there on the text is written as it is). A text that continues a
// line left open (not ended by "\n") gets no prefix. An empty text writes
// nothing. Always -1, so that error paths can write their message and
// return in one statement.
int WriteLog(const char* text);
// printf into a 1024-byte buffer (longer output is cut), then "\n", then
// WriteLog. Always -1.
int LogPrintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
// One more (In) or one fewer (Out, not below 0) tab in front of each line.
int LogIndentIn();
int LogIndentOut();

// The folder of the log file (260 bytes, code page 932); empty until
// start-up or SetLogFolder sets it. While it is empty nothing is written.
const char* LogFolder();
// Sets the folder (cut to 259 bytes); null or "" empties it.
void SetLogFolder(const char* folder);
