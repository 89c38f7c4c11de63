#include "document/mapfile.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace qs {

namespace {

FileResult failure(int error) {
    return {false, errortext(error)};
}

std::string folderof(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return path.substr(0, std::max<std::size_t>(slash, 1)); // "/" for a file at the root
}

} // namespace

std::string filetitle(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool fileexists(FileSystem& files, const std::string& path) {
    FileInfo info;
    return files.stat(path, info) != 0 || info.kind != FileKind::Missing;
}

FileResult readmapfile(FileSystem& files, const std::string& path, std::size_t limit,
                       std::vector<std::byte>& bytes) {
    int fd = -1;
    if (const int error = files.openread(path, fd)) return failure(error);
    // The buffer grows as the file turns out longer, up to the limit.
    std::vector<std::byte> buffer(
        std::min<std::size_t>(limit, (1u << 15) + 1)); // a full map and one byte

    std::size_t have = 0;
    int error = 0;
    while (have < limit) {
        if (have == buffer.size()) buffer.resize(std::min(limit, buffer.size() * 2));
        std::size_t got = 0;
        error = files.read(fd, buffer.data() + have, buffer.size() - have, got);
        if (error != 0 || got == 0) break;
        have += got;
    }
    files.close(fd); // nothing was written, so closing cannot lose anything
    if (error != 0) return failure(error);
    buffer.resize(have);
    bytes = std::move(buffer);
    return {true, {}};
}

FileResult createmapfile(FileSystem& files, const std::string& path) {
    if (const int error = files.create(path)) return failure(error);
    return {true, {}};
}

SafeWriter::SafeWriter(FileSystem& files, std::string path)
    : files_(files), path_(std::move(path)) {}

SafeWriter::~SafeWriter() {
    if (fd_ >= 0) files_.close(fd_);
    if (!temp_.empty()) files_.remove(temp_);
}

FileResult SafeWriter::fail(int error) {
    if (fd_ >= 0) files_.close(fd_);
    fd_ = -1;
    if (!temp_.empty()) files_.remove(temp_);
    temp_.clear();
    return failure(error);
}

FileResult SafeWriter::open() {
    // The new file keeps the old one's permissions, or gets a new file's.
    FileInfo info;
    if (const int error = files_.stat(path_, info)) return failure(error);
    unsigned mode = info.mode;
    if (info.kind == FileKind::Other) return failure(kNotRegularFile);
    if (info.kind == FileKind::Regular) {
        // Renaming over a file needs only the folder's permission; the file's
        // own protection is honoured here.
        if (const int error = files_.canwrite(path_)) return failure(error);
    } else {
        mode = files_.newfilemode();
    }
    std::string temp = folderof(path_) + "/." + filetitle(path_) + ".XXXXXX";
    if (const int error = files_.createtemp(temp, fd_)) return failure(error);
    temp_ = temp;
    if (const int error = files_.setmode(fd_, mode)) return fail(error);
    return {true, {}};
}

FileResult SafeWriter::write(std::span<const std::byte> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t written = 0;
        if (const int error = files_.write(fd_, bytes.data() + done, bytes.size() - done, written))
            return fail(error);
        if (written == 0) return fail(EIO);
        done += written;
    }
    // A long file goes to the disk as it is written, not all at the end.
    if (bytes.size() >= (1u << 20)) files_.flushsoon(fd_);
    return {true, {}};
}

FileResult SafeWriter::commit() {
    if (const int error = files_.flush(fd_)) return fail(error);
    const int fd = std::exchange(fd_, -1);
    if (const int error = files_.close(fd)) return fail(error);
    if (const int error = files_.rename(temp_, path_)) return fail(error);
    temp_.clear();
    // The new name is durable only once the folder is: until then a power
    // cut could bring back the old file. The new file is in place either way.
    if (const int error = files_.syncfolder(folderof(path_))) return failure(error);
    return {true, {}};
}

FileResult writemapfile(FileSystem& files, const std::string& path,
                        std::span<const std::byte> bytes) {
    SafeWriter writer(files, path);
    FileResult result = writer.open();
    if (result.ok) result = writer.write(bytes);
    if (result.ok) result = writer.commit();
    return result;
}

} // namespace qs
