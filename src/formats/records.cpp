#include "formats/records.h"

#include "document/mapcodec.h"

#include <cstring>

namespace qs::formats {

RecordReader::~RecordReader() {
    if (fd_ >= 0) files_.close(fd_);
}

FileResult RecordReader::open() {
    if (const int error = files_.openread(path_, fd_)) return {false, errortext(error)};
    return {true, {}};
}

FileResult RecordReader::next(std::vector<Block>& records, std::size_t most) {
    records.clear();
    buffer_.resize(most * kRecordBytes);
    // Reads until the buffer is full or the file ends: a read may bring less
    // than asked for, cut anywhere in a record.
    std::size_t filled = have_;
    while (filled < buffer_.size()) {
        std::size_t got = 0;
        if (const int error =
                files_.read(fd_, buffer_.data() + filled, buffer_.size() - filled, got))
            return {false, errortext(error)};
        if (got == 0) break;
        filled += got;
    }
    const std::size_t whole = filled / kRecordBytes;
    records.resize(whole);
    for (std::size_t n = 0; n < whole; ++n)
        records[n] = decoderecord(buffer_.data() + n * kRecordBytes);
    have_ = filled - whole * kRecordBytes;
    std::memmove(buffer_.data(), buffer_.data() + whole * kRecordBytes, have_);
    return {true, {}};
}

} // namespace qs::formats
