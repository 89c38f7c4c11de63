#pragma once
// What map files need of the file system, one step at a time, so that a test
// can make any step fail with any error. Every step returns 0 or the
// system's error number.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qs {

enum class FileKind { Missing, Regular, Other };

// What a name names, and for a file, its permission bits, size and time of
// its last change.
struct FileInfo {
    FileKind kind = FileKind::Missing;
    unsigned mode = 0;
    std::uint64_t size = 0;
    std::int64_t mtime = 0; // nanoseconds since the epoch
};

// An error of the program's own: the name names something that is not a
// regular file (a folder, a pipe, a device, a socket).
inline constexpr int kNotRegularFile = -1;

// The words for an error number, as the system says them.
std::string errortext(int error);

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // What the name names. A missing name is not an error; a folder on the
    // way that cannot be searched is.
    virtual int stat(const std::string& path, FileInfo& info) = 0;
    // 0 when this user may write the file, as the file system decides.
    virtual int canwrite(const std::string& path) = 0;
    // Opens a regular file for reading without ever blocking; anything else
    // is refused with kNotRegularFile.
    virtual int openread(const std::string& path, int& fd) = 0;
    // Creates a new, empty file with a new file's permissions.
    virtual int create(const std::string& path) = 0;
    virtual int read(int fd, std::byte* into, std::size_t n, std::size_t& got) = 0;
    // Creates a new file from a name ending in "XXXXXX", which is replaced.
    virtual int createtemp(std::string& path, int& fd) = 0;
    virtual int setmode(int fd, unsigned mode) = 0;
    virtual int write(int fd, const std::byte* from, std::size_t n, std::size_t& written) = 0;
    // Makes what was written durable.
    virtual int flush(int fd) = 0;
    // Starts putting what was written on the disk, without waiting, so a
    // long file's flush has less left to wait for.
    virtual void flushsoon(int fd) { (void)fd; }
    virtual int close(int fd) = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    // Makes a folder's entries durable: a file renamed into it stays there
    // through a power cut.
    virtual int syncfolder(const std::string& folder) = 0;
    virtual int remove(const std::string& path) = 0;
    // The permissions a new file gets under the present umask.
    virtual unsigned newfilemode() = 0;
    // Opens the file, made when missing, and takes its lock for as long as
    // it stays open, or till the process ends; EWOULDBLOCK when another
    // process holds it, and `fd` is left as it was.
    virtual int lock(const std::string& path, int& fd) = 0;
    // The names in a folder.
    virtual int list(const std::string& folder, std::vector<std::string>& names) = 0;
};

// The real file system.
class SystemFiles : public FileSystem {
  public:
    int stat(const std::string& path, FileInfo& info) override;
    int canwrite(const std::string& path) override;
    int openread(const std::string& path, int& fd) override;
    int create(const std::string& path) override;
    int read(int fd, std::byte* into, std::size_t n, std::size_t& got) override;
    int createtemp(std::string& path, int& fd) override;
    int setmode(int fd, unsigned mode) override;
    int write(int fd, const std::byte* from, std::size_t n, std::size_t& written) override;
    int flush(int fd) override;
    void flushsoon(int fd) override;
    int close(int fd) override;
    int rename(const std::string& from, const std::string& to) override;
    int syncfolder(const std::string& folder) override;
    int remove(const std::string& path) override;
    unsigned newfilemode() override;
    int lock(const std::string& path, int& fd) override;
    int list(const std::string& folder, std::vector<std::string>& names) override;
};

// The process's one real file system.
FileSystem& systemfiles();

// A write beyond the process's file-size limit raises SIGXFSZ, which ends a
// process by default; ignored, it is an ordinary write error ("File too
// large"). The program calls this once at start.
void ignorefilesizesignal();

} // namespace qs
