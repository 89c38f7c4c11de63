// The commands that read map files: info, check, dump and diff.
#include "document/exact.h"
#include "document/mapcodec.h"
#include "document/mapfile.h"
#include "document/numtext.h"
#include "document/rowtext.h"
#include "formats/records.h"
#include "formats/scene.h"
#include "formats/text.h"
#include "qrd/qrd.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <span>
#include <sstream>
#include <stop_token>
#include <thread>

namespace qs::qrd {

namespace {

// What the commands read of a map file: the records the editor takes.
constexpr std::size_t kRead = kSlots * kRecordBytes;

std::string hexcolour(std::int32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06x", static_cast<unsigned>(c));
    return buf;
}

// Every field's exact value, in the order of the row.
std::string fields(const Block& b) {
    return "x=" + exacttext(b.x) + " z=" + exacttext(b.z) + " sizex=" + exacttext(b.sizex) +
           " sizez=" + exacttext(b.sizez) + " bottom=" + exacttext(b.bottom) +
           " height=" + exacttext(b.height) + " angle=" + exacttext(b.angle) +
           " colour=" + hexcolour(b.colour);
}

// The records the editor takes of a map file, and the whole file's size.
FileResult readmap(const std::string& path, std::vector<std::byte>& bytes, std::uint64_t& size) {
    FileResult read = readmapfile(systemfiles(), path, kRead, bytes);
    FileInfo info;
    size = read.ok && systemfiles().stat(path, info) == 0
               ? std::max<std::uint64_t>(info.size, bytes.size())
               : bytes.size();
    return read;
}

// Works out `work(bytes, size)` for every readable map file on as many threads as
// the machine has cores, a few files ahead at most, and hands the results to
// `print(file, result)` in the files' order; says on `err` why a file cannot
// be read.
template <class Work, class Print>
int eachmap(const std::vector<std::string>& files, std::ostream& err, Work work, Print print) {
    using Result = decltype(work(std::declval<const std::vector<std::byte>&>(), std::uint64_t{}));
    struct Slot {
        bool done = false;
        FileResult read;
        Result result{};
    };
    // Reads what the editor takes of a map, and knows the whole file's size.
    constexpr std::size_t kAhead = 16;
    std::vector<Slot> ring(kAhead); // file i's result waits in ring[i % kAhead]
    std::mutex lock;
    std::condition_variable_any changed;
    std::size_t next = 0, printed = 0;
    auto worker = [&](std::stop_token stop) {
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock held(lock);
                if (!changed.wait(
                        held, stop,
                        [&] { return next >= files.size() || next < printed + kAhead; }) ||
                    next >= files.size())
                    return;
                i = next++;
            }
            Slot slot;
            std::vector<std::byte> bytes;
            std::uint64_t size = 0;
            slot.read = readmap(files[i], bytes, size);
            if (slot.read.ok) slot.result = work(bytes, size);
            slot.done = true;
            std::lock_guard held(lock);
            ring[i % kAhead] = std::move(slot);
            changed.notify_all();
        }
    };
    std::vector<std::jthread> workers; // declared last: stopped and joined first on the way out
    const std::size_t cores = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    for (std::size_t k = 0; k < std::min(cores, files.size()); ++k)
        workers.emplace_back(worker);
    int status = kOk;
    for (std::size_t i = 0; i < files.size(); ++i) {
        Slot slot;
        {
            std::unique_lock held(lock);
            changed.wait(held, [&] { return ring[i % kAhead].done; });
            slot = std::move(ring[i % kAhead]);
            ring[i % kAhead].done = false;
            ++printed;
            changed.notify_all();
        }
        if (!slot.read.ok) {
            err << "qrd: " << files[i] << ": " << slot.read.reason << "\n";
            status = kFailure;
            continue;
        }
        print(files[i], slot.result);
    }
    return status;
}

} // namespace

bool load(const std::string& path, std::vector<std::byte>& bytes, std::uint64_t& size,
          std::ostream& err) {
    const FileResult read = readmap(path, bytes, size);
    if (!read.ok) err << "qrd: " << path << ": " << read.reason << "\n";
    return read.ok;
}

int info(const std::vector<std::string>& files, bool json, std::ostream& out, std::ostream& err) {
    nlohmann::json all = nlohmann::json::array();
    // On the heap: a report holds a whole table, too large to pass around.
    const auto report = [](const std::vector<std::byte>& bytes, std::uint64_t size) {
        return std::make_unique<MapReport>(reportmap(bytes, true, size));
    };
    const int status = eachmap(
        files, err, report, [&](const std::string& file, const std::unique_ptr<MapReport>& at) {
            const MapReport& r = *at;
            if (json) {
                nlohmann::json j = {{"file", file},
                                    {"bytes", r.bytes},
                                    {"records", r.records},
                                    {"listed", r.listed},
                                    {"saved", r.saved},
                                    {"drawn", r.drawn},
                                    {"gaps", r.gaps},
                                    {"beyond1000", r.beyond},
                                    {"partialbytes", r.partialbytes},
                                    {"nonfinite", r.nonfinite}};
                j["box"] = r.hasbox ? nlohmann::json{{"zmin", r.zmin},
                                                     {"zmax", r.zmax},
                                                     {"xmin", r.xmin},
                                                     {"xmax", r.xmax}}
                                    : nlohmann::json(nullptr);
                all.push_back(j);
                return;
            }
            out << file << "\n"
                << "  records      " << r.records << " (" << r.bytes << " bytes)\n"
                << "  listed run   " << r.listed << "\n"
                << "  saved run    " << r.saved << "\n"
                << "  drawn        " << r.drawn << "\n"
                << "  gaps         " << r.gaps << "\n"
                << "  beyond 1000  " << r.beyond << " ignored\n"
                << "  partial      "
                << (r.partialbytes ? std::to_string(r.partialbytes) + " bytes ignored" : "none")
                << "\n"
                << "  non-finite   " << r.nonfinite << "\n"
                << "  bounding box "
                << (r.hasbox ? "Z " + plainnum(r.zmin) + " to " + plainnum(r.zmax) + ", X " +
                                   plainnum(r.xmin) + " to " + plainnum(r.xmax)
                             : std::string("none"))
                << "\n";
        });
    if (json) out << all.dump(2) << "\n";
    return status;
}

int check(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    bool problems = false;
    const auto problems_of = [](const std::vector<std::byte>& bytes, std::uint64_t size) {
        return checkmap(reportmap(bytes, false, size));
    };
    const int status = eachmap(
        files, err, problems_of, [&](const std::string& file, const std::vector<Problem>& found) {
            for (const Problem& p : found) {
                out << file << ":record " << p.record << ": " << p.text << "\n";
                problems = true;
            }
        });
    return status != kOk ? status : problems ? kProblems : kOk;
}

int dump(const std::string& file, std::ostream& out, std::ostream& err) {
    std::vector<std::byte> bytes;
    std::uint64_t size = 0;
    if (!load(file, bytes, size, err)) return kFailure;
    const MapReport r = reportmap(bytes, false, size);
    for (int i = 0; i < r.listed; ++i) {
        const Block& b = r.table[static_cast<std::size_t>(i)];
        out << i + 1 << " |" << rowtext(b) << "| " << fields(b) << "\n";
    }
    if (r.records > static_cast<std::size_t>(r.listed))
        out << "# " << r.records - static_cast<std::size_t>(r.listed)
            << " more records after the listed run\n";
    return kOk;
}

int diff(const std::string& a, const std::string& b, std::ostream& out, std::ostream& err) {
    std::vector<std::byte> abytes, bbytes;
    std::uint64_t asize = 0, bsize = 0;
    const bool aread = load(a, abytes, asize, err);
    if (!load(b, bbytes, bsize, err) || !aread) return kFailure;
    const MapReport ra = reportmap(abytes), rb = reportmap(bbytes);
    const std::size_t na = std::min<std::size_t>(ra.records, kSlots),
                      nb = std::min<std::size_t>(rb.records, kSlots);
    bool differ = false;
    static const char* const names[] = {"x", "z", "sizex", "sizez", "bottom", "height", "angle"};
    for (std::size_t i = 0; i < std::max(na, nb); ++i) {
        const Block &x = ra.table[i], &y = rb.table[i];
        if (i >= na || i >= nb) {
            out << (i >= na ? "+ record " : "- record ") << i + 1 << " |"
                << rowtext(i >= na ? y : x) << "|\n";
            differ = true;
            continue;
        }
        if (std::memcmp(&x, &y, sizeof(Block)) == 0) continue;
        differ = true;
        out << "~ record " << i + 1 << ":";
        const float fx[] = {x.x, x.z, x.sizex, x.sizez, x.bottom, x.height, x.angle};
        const float fy[] = {y.x, y.z, y.sizex, y.sizez, y.bottom, y.height, y.angle};
        for (std::size_t k = 0; k < 7; ++k)
            if (std::memcmp(&fx[k], &fy[k], sizeof(float)) != 0)
                out << " " << names[k] << " " << exacttext(fx[k]) << " -> " << exacttext(fy[k]);
        if (x.colour != y.colour)
            out << " colour " << hexcolour(x.colour) << " -> " << hexcolour(y.colour);
        out << "\n";
    }
    return differ ? kProblems : kOk;
}

namespace {

// The format named, or the one a file's extension names.
std::string formatof(const std::string& format, const std::string& file) {
    if (!format.empty()) return format;
    const auto dot = file.find_last_of('.');
    std::string ext = dot == std::string::npos ? "" : file.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::span<const std::byte> bytesof(const std::string& text) {
    return {reinterpret_cast<const std::byte*>(text.data()), text.size()};
}

// Where a command's output goes: standard output ("" or "-"), or a file
// put in place only when complete.
class Output {
  public:
    Output(const std::string& to, std::ostream& out) : to_(to), out_(out) {
        if (!to.empty() && to != "-") file_.emplace(systemfiles(), to);
    }
    FileResult open() { return file_ ? file_->open() : FileResult{true, {}}; }
    FileResult write(const std::string& text) {
        if (file_) return file_->write(bytesof(text));
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        return {out_.good(), out_.good() ? "" : "cannot write to standard output"};
    }
    FileResult commit() {
        if (file_) return file_->commit();
        out_.flush();
        return {out_.good(), out_.good() ? "" : "cannot write to standard output"};
    }
    std::string name() const { return file_ ? to_ : "standard output"; }

  private:
    std::string to_;
    std::ostream& out_;
    std::optional<SafeWriter> file_;
};

} // namespace

namespace {

// The drawn blocks as boxes for game engines.
int exportscene(const std::string& file, formats::SceneKind kind, const std::string& to,
                const Depth& depth, std::ostream& out, std::ostream& err) {
    std::vector<std::byte> bytes;
    std::uint64_t size = 0;
    if (!load(file, bytes, size, err)) return kFailure;
    BlockTable table{};
    decodemap(bytes, table);
    const formats::Scene scene = formats::scenefrom(table, depth.mind, depth.maxd);
    if (scene.leftout > 0)
        err << "qrd: " << file << ": " << scene.leftout
            << (scene.leftout == 1 ? " block" : " blocks")
            << " left out: a value not a number, infinite, or beyond " << formats::kSceneReach
            << " m\n";
    if (to.empty() || to == "-") {
        if (kind == formats::SceneKind::Obj) {
            err << "qrd: an OBJ needs a file name (-o NAME.obj): its materials go beside it in "
                   "NAME.mtl\n";
            return kFailure;
        }
        const std::string text = formats::togltf(scene, kind == formats::SceneKind::Glb);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (out.good()) return kOk;
        err << "qrd: cannot write to standard output\n";
        return kFailure;
    }
    const FileResult written = formats::writescene(systemfiles(), to, kind, scene);
    if (!written.ok) err << "qrd: " << to << ": " << written.reason << "\n";
    return written.ok ? kOk : kFailure;
}

} // namespace

int exportmap(const std::string& file, const std::string& format, const std::string& to,
              std::ostream& out, std::ostream& err, const std::optional<Depth>& depth) {
    const std::string kind = formatof(format, to);
    if (const auto scene = formats::scenekind(kind))
        return exportscene(file, *scene, to, depth.value_or(Depth{}), out, err);
    if (kind != "json" && kind != "csv") {
        err << "qrd: give --format json, csv, gltf, glb or obj\n";
        return kFailure;
    }
    if (depth) {
        err << "qrd: --depth chooses the blocks of a scene (gltf, glb, obj); json and csv hold "
               "every record\n";
        return kFailure;
    }
    formats::RecordReader reader(systemfiles(), file);
    if (const FileResult opened = reader.open(); !opened.ok) {
        err << "qrd: " << file << ": " << opened.reason << "\n";
        return kFailure;
    }
    Output output(to, out);
    FileResult result = output.open();
    // Every record, a buffer at a time: a file of any length goes through
    // in little memory.
    const bool json = kind == "json";
    std::string text = json ? formats::jsonhead() : formats::tableheader(',');
    std::vector<Block> records;
    bool first = true;
    // The records' texts, written on two threads: each half of a buffer's
    // records on one.
    const auto write = [json](std::span<const Block> part, std::string& into, bool opening) {
        into.reserve(into.size() + part.size() * (json ? 200 : 100));
        for (const Block& b : part) {
            if (json)
                formats::jsonrecord(into, b, opening);
            else
                formats::tablerow(into, b, ',');
            opening = false;
        }
    };
    // While one buffer's text is written, the next is made.
    std::array<std::string, 2> making, writing;
    making[0] = std::move(text);
    std::future<FileResult> written;
    while (result.ok) {
        const FileResult read = reader.next(records);
        if (!read.ok) {
            err << "qrd: " << file << ": " << read.reason << "\n";
            return kFailure;
        }
        if (records.empty()) break;
        const std::span<const Block> all(records);
        const std::size_t half = all.size() / 2;
        // With one record, the first half is empty: the second opens the list.
        std::thread other([&] { write(all.subspan(half), making[1], first && half == 0); });
        write(all.first(half), making[0], first);
        other.join();
        first = false;
        if (written.valid()) result = written.get();
        std::swap(making, writing);
        for (std::string& t : making)
            t.clear();
        written = std::async(std::launch::async, [&] {
            FileResult r = output.write(writing[0]);
            return r.ok ? output.write(writing[1]) : r;
        });
    }
    if (written.valid()) {
        const FileResult last = written.get();
        if (result.ok) result = last;
    }
    text = std::move(making[0]);
    if (json) text += formats::jsontail(first);
    if (result.ok) result = output.write(text);
    if (result.ok) result = output.commit();
    if (!result.ok) err << "qrd: " << output.name() << ": " << result.reason << "\n";
    return result.ok ? kOk : kFailure;
}

int importmap(const std::string& from, const std::string& format, const std::string& to,
              std::ostream& err) {
    const std::string kind = formatof(format, from);
    if (kind != "json" && kind != "csv" && kind != "tsv") {
        err << "qrd: give --format json, csv or tsv\n";
        return kFailure;
    }
    // Read through the file-system service, so a failure names its reason.
    std::vector<std::byte> bytes;
    const FileResult read = readmapfile(systemfiles(), from, std::size_t{1} << 30, bytes);
    if (!read.ok) {
        err << "qrd: " << from << ": " << read.reason << "\n";
        return kFailure;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    formats::TextFault fault;
    const auto recs =
        kind == "json" ? formats::fromjson(text, fault) : formats::fromtable(text, fault);
    if (!recs) {
        err << "qrd: " << from << ":" << fault.line << ":" << fault.column << ": " << fault.what
            << "\n";
        return kFailure;
    }
    const FileResult written = writemapfile(systemfiles(), to, writerecords(*recs));
    if (!written.ok) err << "qrd: " << to << ": " << written.reason << "\n";
    return written.ok ? kOk : kFailure;
}

} // namespace qs::qrd
