#pragma once
// A map file's records read a buffer at a time: every whole record, however
// many the file holds (beyond 1000 too), in little memory.
#include "document/block.h"
#include "document/filesystem.h"
#include "document/mapfile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qs::formats {

class RecordReader {
  public:
    RecordReader(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    FileResult open();
    // The next whole records, at most `most`; none at the end of the file,
    // where the bytes of a partial record are left over.
    FileResult next(std::vector<Block>& records, std::size_t most = 32768);

  private:
    FileSystem& files_;
    std::string path_;
    int fd_ = -1;
    std::vector<std::byte> buffer_;
    std::size_t have_ = 0; // bytes of a partial record kept from the last read
};

} // namespace qs::formats
