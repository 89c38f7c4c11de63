#include "app/recoverycopies.h"

#include "document/mapcodec.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <unistd.h>

namespace qs {

namespace {

constexpr const char* kPrefix = "recovery";
constexpr std::string_view kMagic = "\nQuarrystead recovery 1\n";

// Reads a decimal number at `at`, followed by one character that is skipped.
template <typename T> bool number(std::string_view text, std::size_t& at, T& value) {
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (error != std::errc{} || end == text.data() + text.size()) return false;
    at = static_cast<std::size_t>(end - text.data()) + 1;
    return true;
}

} // namespace

RecoveryCopies::RecoveryCopies(FileSystem& files, std::string folder)
    : files_(files), folder_(std::move(folder)) {}

RecoveryCopies::~RecoveryCopies() {
    release();
    for (const LeftCopy& c : left_)
        if (c.lock >= 0) files_.close(c.lock);
}

std::string RecoveryCopies::named(const std::string& stem, const char* ending) const {
    return folder_ + "/" + stem + ending;
}

std::vector<std::byte> RecoveryCopies::encode(const BlockTable& table, const FileRef& file,
                                              const DiskStamp& stamp) {
    std::vector<std::byte> bytes = encodetable(table);
    const std::string footer = std::string(kMagic) + "file " + std::to_string(file.path.size()) +
                               " " + file.path + "\nstamp " + std::to_string(stamp.known) + " " +
                               std::to_string(stamp.size) + " " + std::to_string(stamp.mtime) +
                               " " + std::to_string(stamp.hash) + "\n";
    const auto* from = reinterpret_cast<const std::byte*>(footer.data());
    bytes.insert(bytes.end(), from, from + footer.size());
    return bytes;
}

void RecoveryCopies::decode(std::span<const std::byte> bytes, BlockTable& table, FileRef& file,
                            DiskStamp& stamp) {
    decodemap(bytes, table);
    file = {};
    stamp = {};
    const std::size_t slots = kSlots * kRecordBytes;
    if (bytes.size() <= slots) return;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()) + slots,
                                bytes.size() - slots);
    if (!text.starts_with(kMagic) || text.substr(kMagic.size(), 5) != "file ") return;
    std::size_t at = kMagic.size() + 5, length = 0;
    if (!number(text, at, length) || length > text.size() - at) return;
    const std::string path(text.substr(at, length));
    at += length + 1;
    int known = 0;
    if (text.substr(at, 6) != "stamp ") return;
    at += 6;
    if (!number(text, at, known) || !number(text, at, stamp.size) ||
        !number(text, at, stamp.mtime) || !number(text, at, stamp.hash))
        return;
    stamp.known = known == 1;
    file = {path, path.empty() ? std::string() : filetitle(path)};
}

void RecoveryCopies::claim() {
    if (folder_.empty() || !own_.empty()) return;
    std::vector<std::string> names;
    if (files_.list(folder_, names) != 0) return;
    // This editor's own name: one that no copy has and whose lock is free.
    const std::string base = std::string(kPrefix) + "-" + std::to_string(::getpid());
    for (int n = 0; n < 1000 && own_.empty(); ++n) {
        const std::string stem = n == 0 ? base : base + "-" + std::to_string(n);
        if (std::find(names.begin(), names.end(), stem + ".QRD") != names.end()) continue;
        if (files_.lock(named(stem, ".lock"), ownlock_) == 0) own_ = stem;
    }
    // The copies of editors that are no longer running: their locks are free.
    for (const std::string& name : names) {
        if (!name.starts_with(kPrefix) || !name.ends_with(".QRD")) continue;
        const std::string stem = name.substr(0, name.size() - 4);
        LeftCopy copy;
        copy.path = named(stem, ".QRD");
        if (stem == own_ || files_.lock(named(stem, ".lock"), copy.lock) != 0) continue;
        FileInfo info;
        BlockTable table;
        std::vector<std::byte> bytes;
        if (files_.stat(copy.path, info) == 0 && readmapfile(files_, copy.path, 1u << 16, bytes).ok)
            decode(bytes, table, copy.file, copy.stamp);
        copy.time = info.mtime;
        left_.push_back(std::move(copy));
    }
    std::sort(left_.begin(), left_.end(),
              [](const LeftCopy& a, const LeftCopy& b) { return a.time > b.time; });
}

FileResult RecoveryCopies::keep(const BlockTable& table, const FileRef& file,
                                const DiskStamp& stamp) {
    if (own_.empty()) return {false, "no recovery folder"};
    const FileResult written =
        writemapfile(files_, named(own_, ".QRD"), encode(table, file, stamp));
    if (written.ok) kept_ = true;
    return written;
}

void RecoveryCopies::drop() {
    if (kept_ && files_.remove(named(own_, ".QRD")) == 0) kept_ = false;
}

FileResult RecoveryCopies::read(const LeftCopy& copy, BlockTable& table) {
    std::vector<std::byte> bytes;
    FileResult read = readmapfile(files_, copy.path, 1u << 16, bytes);
    FileRef file;
    DiskStamp stamp;
    if (read.ok) decode(bytes, table, file, stamp);
    return read;
}

void RecoveryCopies::discard(std::size_t index) {
    if (index >= left_.size()) return;
    const LeftCopy& copy = left_[index];
    files_.remove(copy.path);
    files_.remove(copy.path.substr(0, copy.path.size() - 4) + ".lock");
    if (copy.lock >= 0) files_.close(copy.lock);
    left_.erase(left_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RecoveryCopies::release() {
    if (ownlock_ < 0) return;
    files_.remove(named(own_, ".lock"));
    files_.close(ownlock_);
    ownlock_ = -1;
}

} // namespace qs
