#pragma once
// Reading and writing map files on disk, without ever damaging one.
#include "document/filesystem.h"

#include <cstddef>
#include <span>
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

// Writes a file in pieces to a new file beside `path`, and puts it in place
// of `path` only when every byte is written and flushed. A file this user
// may not write, or anything that is not a regular file, is never replaced.
// On failure, or when the writer goes without committing, the old file is
// left as it was and no new file remains.
class SafeWriter {
  public:
    SafeWriter(FileSystem& files, std::string path);
    ~SafeWriter();
    SafeWriter(const SafeWriter&) = delete;
    SafeWriter& operator=(const SafeWriter&) = delete;

    FileResult open();
    FileResult write(std::span<const std::byte> bytes);
    FileResult commit();

  private:
    FileResult fail(int error);
    FileSystem& files_;
    std::string path_;
    std::string temp_;
    int fd_ = -1;
};

// All of a file's bytes, through a SafeWriter.
FileResult writemapfile(FileSystem& files, const std::string& path,
                        std::span<const std::byte> bytes);

// Whether a name names anything at all.
bool fileexists(FileSystem& files, const std::string& path);

// The name after the last folder separator.
std::string filetitle(const std::string& path);

} // namespace qs
