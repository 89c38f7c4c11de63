#pragma once
// Reading and writing map files on disk, without ever damaging one.
#include <cstddef>
#include <string>
#include <vector>

namespace qs {

struct FileResult {
    bool ok = false;
    std::string reason; // why it failed, in the system's words
};

// Reads the first `limit` bytes of a file (all of it when shorter). A name
// that names no file creates it, empty, as opening a map always has.
FileResult readmapfile(const std::string& path, std::size_t limit, std::vector<std::byte>& bytes);

// Writes `bytes` to a new file beside `path` and puts it in place of `path`
// only when every byte is written and flushed. On failure the old file is
// left as it was and no new file remains.
FileResult writemapfile(const std::string& path, const std::vector<std::byte>& bytes);

// The name after the last folder separator.
std::string filetitle(const std::string& path);

} // namespace qs
