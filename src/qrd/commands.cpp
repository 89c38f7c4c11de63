// The commands that read map files: info, check, dump and diff.
#include "document/exact.h"
#include "document/mapcodec.h"
#include "document/mapfile.h"
#include "document/numtext.h"
#include "document/rowtext.h"
#include "qrd/exchange.h"
#include "qrd/qrd.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <stop_token>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>

namespace qs::qrd {

namespace {

// Larger than any map the editor writes by far; a file beyond it is cut.
constexpr std::size_t kMaxFile = 64u << 20;

std::string hexcolour(std::int32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06x", static_cast<unsigned>(c));
    return buf;
}

// Every field's exact value, in the order of the row.
std::string fields(const Block& b) {
    return "x=" + exacttext(b.x) + " z=" + exacttext(b.z) + " sizex=" + exacttext(b.sizex) +
           " sizez=" + exacttext(b.sizez) + " bottom=" + exacttext(b.bottom) + " height=" + exacttext(b.height) +
           " angle=" + exacttext(b.angle) + " colour=" + hexcolour(b.colour);
}

// Works out `work(bytes)` for every readable map file on as many threads as
// the machine has cores, a few files ahead at most, and hands the results to
// `print(file, result)` in the files' order; says on `err` why a file cannot
// be read.
template <class Work, class Print>
int eachmap(const std::vector<std::string>& files, std::ostream& err, Work work, Print print) {
    using Result = decltype(work(std::declval<const std::vector<std::byte>&>()));
    struct Slot {
        bool done = false;
        FileResult read;
        Result result{};
    };
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
                if (!changed.wait(held, stop, [&] { return next >= files.size() || next < printed + kAhead; }) ||
                    next >= files.size())
                    return;
                i = next++;
            }
            Slot slot;
            std::vector<std::byte> bytes;
            slot.read = readmapfile(systemfiles(), files[i], kMaxFile, bytes);
            if (slot.read.ok) slot.result = work(bytes);
            slot.done = true;
            std::lock_guard held(lock);
            ring[i % kAhead] = std::move(slot);
            changed.notify_all();
        }
    };
    std::vector<std::jthread> workers; // declared last: stopped and joined first on the way out
    const std::size_t cores = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    for (std::size_t k = 0; k < std::min(cores, files.size()); ++k) workers.emplace_back(worker);
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

bool load(const std::string& path, std::vector<std::byte>& bytes, std::ostream& err) {
    const FileResult read = readmapfile(systemfiles(), path, kMaxFile, bytes);
    if (!read.ok) err << "qrd: " << path << ": " << read.reason << "\n";
    return read.ok;
}

int info(const std::vector<std::string>& files, bool json, std::ostream& out, std::ostream& err) {
    nlohmann::json all = nlohmann::json::array();
    // On the heap: a report holds a whole table, too large to pass around.
    const auto report = [](const std::vector<std::byte>& bytes) { return std::make_unique<MapReport>(reportmap(bytes)); };
    const int status = eachmap(files, err, report, [&](const std::string& file, const std::unique_ptr<MapReport>& at) {
        const MapReport& r = *at;
        if (json) {
            nlohmann::json j = {{"file", file},          {"bytes", r.bytes},       {"records", r.records},
                                {"listed", r.listed},    {"saved", r.saved},       {"drawn", r.drawn},
                                {"gaps", r.gaps},        {"beyond1000", r.beyond}, {"partialbytes", r.partialbytes},
                                {"nonfinite", r.nonfinite}};
            j["box"] = r.hasbox ? nlohmann::json{{"zmin", r.zmin}, {"zmax", r.zmax}, {"xmin", r.xmin}, {"xmax", r.xmax}}
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
            << "  partial      " << (r.partialbytes ? std::to_string(r.partialbytes) + " bytes ignored" : "none") << "\n"
            << "  non-finite   " << r.nonfinite << "\n"
            << "  bounding box "
            << (r.hasbox ? "Z " + plainnum(r.zmin) + " to " + plainnum(r.zmax) + ", X " + plainnum(r.xmin) + " to " +
                               plainnum(r.xmax)
                         : std::string("none"))
            << "\n";
    });
    if (json) out << all.dump(2) << "\n";
    return status;
}

int check(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    bool problems = false;
    const auto problems_of = [](const std::vector<std::byte>& bytes) { return checkmap(reportmap(bytes, false)); };
    const int status = eachmap(files, err, problems_of, [&](const std::string& file, const std::vector<Problem>& found) {
        for (const Problem& p : found) {
            out << file << ":record " << p.record << ": " << p.text << "\n";
            problems = true;
        }
    });
    return status != kOk ? status : problems ? kProblems : kOk;
}

int dump(const std::string& file, std::ostream& out, std::ostream& err) {
    std::vector<std::byte> bytes;
    if (!load(file, bytes, err)) return kFailure;
    const MapReport r = reportmap(bytes);
    for (int i = 0; i < r.listed; ++i) {
        const Block& b = r.table[static_cast<std::size_t>(i)];
        out << i + 1 << " |" << rowtext(b) << "| " << fields(b) << "\n";
    }
    if (r.records > static_cast<std::size_t>(r.listed))
        out << "# " << r.records - static_cast<std::size_t>(r.listed) << " more records after the listed run\n";
    return kOk;
}

int diff(const std::string& a, const std::string& b, std::ostream& out, std::ostream& err) {
    std::vector<std::byte> abytes, bbytes;
    const bool aread = load(a, abytes, err);
    if (!load(b, bbytes, err) || !aread) return kFailure;
    const MapReport ra = reportmap(abytes), rb = reportmap(bbytes);
    const std::size_t na = std::min<std::size_t>(ra.records, kSlots), nb = std::min<std::size_t>(rb.records, kSlots);
    bool differ = false;
    static const char* const names[] = {"x", "z", "sizex", "sizez", "bottom", "height", "angle"};
    for (std::size_t i = 0; i < std::max(na, nb); ++i) {
        const Block &x = ra.table[i], &y = rb.table[i];
        if (i >= na || i >= nb) {
            out << (i >= na ? "+ record " : "- record ") << i + 1 << " |" << rowtext(i >= na ? y : x) << "|\n";
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
        if (x.colour != y.colour) out << " colour " << hexcolour(x.colour) << " -> " << hexcolour(y.colour);
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
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

bool writeout(const std::string& to, const std::string& text, std::ostream& err) {
    std::vector<std::byte> bytes(text.size());
    std::memcpy(bytes.data(), text.data(), text.size());
    const FileResult written = writemapfile(systemfiles(), to, bytes);
    if (!written.ok) err << "qrd: " << to << ": " << written.reason << "\n";
    return written.ok;
}

} // namespace

int exportmap(const std::string& file, const std::string& format, const std::string& to, std::ostream& out,
              std::ostream& err) {
    const std::string kind = formatof(format, to);
    if (kind != "json" && kind != "csv") {
        err << "qrd: give --format json or csv\n";
        return kFailure;
    }
    std::vector<std::byte> bytes;
    if (!load(file, bytes, err)) return kFailure;
    const auto recs = records(bytes);
    const std::string text = kind == "json" ? tojson(recs) : tocsv(recs);
    if (to.empty()) {
        out << text;
        return kOk;
    }
    return writeout(to, text, err) ? kOk : kFailure;
}

int importmap(const std::string& from, const std::string& format, const std::string& to, std::ostream& err) {
    const std::string kind = formatof(format, from);
    if (kind != "json" && kind != "csv") {
        err << "qrd: give --format json or csv\n";
        return kFailure;
    }
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        err << "qrd: " << from << ": " << errortext(ENOENT) << "\n";
        return kFailure;
    }
    std::ostringstream text;
    text << in.rdbuf();
    TextFault fault;
    const auto recs = kind == "json" ? fromjson(text.str(), fault) : fromcsv(text.str(), fault);
    if (!recs) {
        err << "qrd: " << from << ":" << fault.line << ":" << fault.column << ": " << fault.what << "\n";
        return kFailure;
    }
    const auto bytes = recordbytes(*recs);
    const FileResult written = writemapfile(systemfiles(), to, bytes);
    if (!written.ok) err << "qrd: " << to << ": " << written.reason << "\n";
    return written.ok ? kOk : kFailure;
}

} // namespace qs::qrd
