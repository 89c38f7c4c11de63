#include "document/mapfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qs {

namespace {

FileResult failure(int error) { return {false, std::generic_category().message(error)}; }

// Closes a descriptor once, keeping the first error.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    int close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

std::string folderof(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The mode a newly created file gets under the present umask.
mode_t newfilemode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string filetitle(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileResult readmapfile(const std::string& path, std::size_t limit, std::vector<std::byte>& bytes) {
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 && errno == ENOENT) {
        // A new name: the file is created, empty.
        descriptor = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    }
    if (descriptor < 0) return failure(errno);
    Fd fd(descriptor);

    std::vector<std::byte> buffer(limit);
    std::size_t have = 0;
    while (have < limit) {
        const ssize_t n = ::read(fd.get(), buffer.data() + have, limit - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            return failure(errno);
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    buffer.resize(have);
    bytes = std::move(buffer);
    return {true, {}};
}

FileResult writemapfile(const std::string& path, const std::vector<std::byte>& bytes) {
    std::string temp = folderof(path) + "/." + filetitle(path) + ".XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) return failure(errno);

    auto fail = [&](int error) {
        ::unlink(temp.c_str());
        return failure(error);
    };

    // The new file keeps the old one's permissions, or gets a new file's.
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) ? (old.st_mode & 07777)
                                                                               : newfilemode();
    if (::fchmod(fd.get(), mode) != 0) return fail(errno);

    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (n == 0) return fail(EIO);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (fd.close() != 0) return fail(errno);
    if (::rename(temp.c_str(), path.c_str()) != 0) return fail(errno);
    // Make the new name itself durable; the file is in place either way.
    Fd folder(::open(folderof(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
    return {true, {}};
}

} // namespace qs
