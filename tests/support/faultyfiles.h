#pragma once
// The real file system with one step made to fail with a chosen error.
#include "document/filesystem.h"

#include <cerrno>

namespace qs::test {

class FaultyFiles : public SystemFiles {
  public:
    enum class Step {
        None,
        OpenRead,
        Read,
        CreateTemp,
        SetMode,
        Write,
        ShortWrite,
        PartWrites,
        WriteNone,
        Flush,
        Close,
        Rename,
        SyncFolder
    };
    Step failat = Step::None;
    int error = EIO;

    int openread(const std::string& p, int& fd) override {
        return failat == Step::OpenRead ? error : SystemFiles::openread(p, fd);
    }
    int read(int fd, std::byte* into, std::size_t n, std::size_t& got) override {
        return failat == Step::Read ? error : SystemFiles::read(fd, into, n, got);
    }
    int createtemp(std::string& p, int& fd) override {
        return failat == Step::CreateTemp ? error : SystemFiles::createtemp(p, fd);
    }
    int setmode(int fd, unsigned m) override {
        return failat == Step::SetMode ? error : SystemFiles::setmode(fd, m);
    }
    // A short write puts down part of what it was given; the next one fails.
    // With PartWrites every write puts down a third at most, as a pipe or a
    // network file system may, and none fails; with WriteNone it puts down
    // nothing and names no error.
    int write(int fd, const std::byte* from, std::size_t n, std::size_t& written) override {
        if (failat == Step::Write || (failat == Step::ShortWrite && std::exchange(wrote_, true)))
            return error;
        const std::size_t part = failat == Step::PartWrites   ? n / 3 + 1
                                 : failat == Step::ShortWrite ? n / 2
                                 : failat == Step::WriteNone  ? 0
                                                              : n;
        return SystemFiles::write(fd, from, part, written);
    }
    int flush(int fd) override { return failat == Step::Flush ? error : SystemFiles::flush(fd); }
    int close(int fd) override {
        const int result = SystemFiles::close(fd); // the descriptor is gone either way
        return failat == Step::Close ? error : result;
    }
    int rename(const std::string& from, const std::string& to) override {
        return failat == Step::Rename ? error : SystemFiles::rename(from, to);
    }
    int syncfolder(const std::string& folder) override {
        synced = folder;
        return failat == Step::SyncFolder ? error : SystemFiles::syncfolder(folder);
    }
    std::string synced; // the folder synced last

  private:
    bool wrote_ = false;
};

} // namespace qs::test
