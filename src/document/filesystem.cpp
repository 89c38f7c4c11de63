#include "document/filesystem.h"

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qs {

std::string errortext(int error) {
    if (error == kNotRegularFile) return "Not a regular file";
    return std::generic_category().message(error);
}

int SystemFiles::stat(const std::string& path, FileInfo& info) {
    struct stat st {};
    info = {};
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    info.kind = S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
    info.mode = st.st_mode & 07777;
    info.size = static_cast<std::uint64_t>(st.st_size);
    info.mtime = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return 0;
}

int SystemFiles::canwrite(const std::string& path) {
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

int SystemFiles::openread(const std::string& path, int& fd) {
    // Without O_NONBLOCK a pipe would hold the window until a writer came.
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ENXIO ? kNotRegularFile : errno; // a socket
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISREG(st.st_mode) ? errno : kNotRegularFile;
        ::close(fd);
        fd = -1;
        return error;
    }
    return 0;
}

int SystemFiles::create(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    return ::close(fd) == 0 ? 0 : errno;
}

int SystemFiles::read(int fd, std::byte* into, std::size_t n, std::size_t& got) {
    for (;;) {
        const ssize_t r = ::read(fd, into, n);
        if (r >= 0) {
            got = static_cast<std::size_t>(r);
            return 0;
        }
        if (errno != EINTR) return errno;
    }
}

int SystemFiles::createtemp(std::string& path, int& fd) {
    fd = ::mkostemp(path.data(), O_CLOEXEC);
    return fd == -1 ? errno : 0;
}

int SystemFiles::setmode(int fd, unsigned mode) {
    return ::fchmod(fd, static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

int SystemFiles::write(int fd, const std::byte* from, std::size_t n, std::size_t& written) {
    for (;;) {
        const ssize_t w = ::write(fd, from, n);
        if (w >= 0) {
            written = static_cast<std::size_t>(w);
            return 0;
        }
        if (errno != EINTR) return errno;
    }
}

int SystemFiles::flush(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

void SystemFiles::flushsoon(int fd) {
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
}

int SystemFiles::close(int fd) {
    return ::close(fd) == 0 ? 0 : errno;
}

int SystemFiles::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int SystemFiles::syncfolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // A file system that cannot sync a folder (EINVAL) keeps no journal of
    // its entries to lose.
    if (error == EINVAL) error = 0;
    return error;
}

int SystemFiles::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

unsigned SystemFiles::newfilemode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

int SystemFiles::lock(const std::string& path, int& fd) {
    const int opened = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (opened == -1) return errno;
    if (::flock(opened, LOCK_EX | LOCK_NB) == 0) {
        fd = opened;
        return 0;
    }
    const int error = errno;
    ::close(opened);
    return error;
}

int SystemFiles::list(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return errno;
    names.clear();
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return 0;
}

FileSystem& systemfiles() {
    static SystemFiles files;
    return files;
}

void ignorefilesizesignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace qs
