// The files subsystem's part in engine start-up and shut-down, and the
// directory the engine started in.
#pragma once

// The current directory at start-up (260 bytes, code page 932). The log
// takes it as its folder when none was set.
extern char startDirectory[260];

// Start-up: releases the archives nothing uses and installs the
// archive-aware stream functions. Always 0.
int StartupFileSystem();
// Start-up, right after StartupFileSystem: stores the current directory (the
// installed GetCurrentDir) in startDirectory. 0, or -1 when the directory
// could not be read (startDirectory is then empty).
int SaveStartDirectory();
// Shut-down: makes startDirectory current again and releases the archives
// nothing uses. Always 0.
int ShutdownFileSystem();
