#pragma once
// The recovery copies in one folder: each running editor keeps its own,
// named after it and held with a lock for as long as it runs, so editors
// never write or remove each other's. A copy whose lock no running editor
// holds was left by one that ended without saving; such copies are offered,
// each to one editor only, which takes their lock.
//
// A copy is a map file of all 1000 slots followed by a few lines naming the
// file the map belonged to; a map reader takes the slots and passes over
// the rest.
#include "document/block.h"
#include "document/document.h"
#include "document/filesystem.h"
#include "document/mapfile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qs {

// A copy left by an editor that is no longer running.
struct LeftCopy {
    std::string path;
    FileRef file;          // the file its map belonged to, if any
    DiskStamp stamp;       // what that file held as the editor last knew it
    std::int64_t time = 0; // when the copy was written, nanoseconds since the epoch
    int lock = -1;
};

class RecoveryCopies {
  public:
    // No copies are kept when `folder` is empty.
    RecoveryCopies(FileSystem& files, std::string folder);
    ~RecoveryCopies();
    RecoveryCopies(const RecoveryCopies&) = delete;
    RecoveryCopies& operator=(const RecoveryCopies&) = delete;

    // Takes this editor's own name and lock, and finds the copies left by
    // editors that ended, newest first.
    void claim();
    bool keeping() const { return !own_.empty(); }
    const std::vector<LeftCopy>& left() const { return left_; }

    // Writes this editor's copy of the map.
    FileResult keep(const BlockTable& table, const FileRef& file, const DiskStamp& stamp);
    // Removes this editor's copy, if it wrote one.
    void drop();
    bool kept() const { return kept_; }

    // Reads a left copy's map.
    FileResult read(const LeftCopy& copy, BlockTable& table);
    // Removes a left copy and gives up its lock.
    void discard(std::size_t index);
    // Gives up this editor's lock: a copy it leaves is offered to the next.
    void release();

    // The bytes of a copy, and back.
    static std::vector<std::byte> encode(const BlockTable& table, const FileRef& file,
                                         const DiskStamp& stamp);
    static void decode(std::span<const std::byte> bytes, BlockTable& table, FileRef& file,
                       DiskStamp& stamp);

  private:
    std::string named(const std::string& stem, const char* ending) const;

    FileSystem& files_;
    std::string folder_;
    std::string own_; // this editor's stem, "recovery-1234"
    int ownlock_ = -1;
    bool kept_ = false;
    std::vector<LeftCopy> left_;
};

} // namespace qs
