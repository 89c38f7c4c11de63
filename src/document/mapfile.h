#pragma once
// Reading and writing map files on disk, without ever damaging one.
#include "document/filesystem.h"

#include <cstddef>
#include <string>
#include <vector>

namespace qs {

struct FileResult {
    bool ok = false;
    std::string reason; // why it failed, in the system's words
};

// Reads the first `limit` bytes of a regular file (all of it when shorter).
// Never creates a file and never waits on a pipe or a device.
FileResult readmapfile(FileSystem& files, const std::string& path, std::size_t limit,
                       std::vector<std::byte>& bytes);

// Creates an empty file under a name that names nothing yet.
FileResult createmapfile(FileSystem& files, const std::string& path);

// Writes `bytes` to a new file beside `path` and puts it in place of `path`
// only when every byte is written and flushed. A file this user may not
// write, or anything that is not a regular file, is never replaced. On
// failure the old file is left as it was and no new file remains.
FileResult writemapfile(FileSystem& files, const std::string& path, const std::vector<std::byte>& bytes);

// Whether a name names anything at all.
bool fileexists(FileSystem& files, const std::string& path);

// The name after the last folder separator.
std::string filetitle(const std::string& path);

} // namespace qs
