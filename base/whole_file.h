// Files read and written whole. A file written whole goes to a temporary file beside
// it (its path with ".tmp" appended), which is renamed over it once complete, so a
// reader never sees half a file; on failure the temporary file is removed and the
// file is left as it was. Every failure is one line: "cannot write PATH: reason".
#pragma once

#include <string>

namespace morvale {

// The temporary file that holds `path` while it is written whole.
std::string temporaryPathOf(const std::string& path);

// Reads the file `path` whole into `text`. False (errno set) when it cannot be
// opened or read.
bool readWholeFile(const std::string& path, std::string& text);

// Writes `text` to `path` whole. A path that exists and is not a regular file (a
// pipe, /dev/stdout) is written to directly. Returns "" when done, else one line
// naming `path` and the system's reason (e.g. "No space left on device").
std::string writeWholeFile(const std::string& path, const std::string& text);

// Removes the file `path` when it is there. "" when it is gone (or never was), else
// one line: "cannot remove PATH: reason" (a folder in its place, no permission).
std::string removeFileIfPresent(const std::string& path);

}  // namespace morvale
