// The rule that maps a path onto an archive: a directory on the path may be
// an archive file of the same name with the extension "QPA" beside it.
#pragma once

// 0 when an archive holds the path: *archiveIndex names it (with one
// reference taken, which the caller gives back with ReleaseArchive), and the
// optional buffers (256 bytes each) receive the archive's path and the path
// inside it. -1 when no archive holds the path.
int LocateArchive(const char* path, int* archiveIndex, char* archivePath, char* innerPath);

// Forgets the last archive found (the one-entry cache).
void ForgetLocatedArchive();
