#include "document/mapreport.h"

#include "document/footprint.h"
#include "document/mapcodec.h"
#include "document/numtext.h"
#include "document/table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace qs {

namespace {

// Maps turn their blocks by a few angles again and again: each angle's
// cosine and sine are worked out once, in a small cache by its bits.
class Turns {
  public:
    std::pair<double, double> of(float angle) {
        std::uint32_t bits;
        std::memcpy(&bits, &angle, sizeof bits);
        Entry& e = entries_[(bits * 0x9E3779B1u) >> (32 - kBits)];
        if (!e.used || e.bits != bits) {
            const double ang = angle * kDegToRad;
            e = {bits, true, std::cos(ang), std::sin(ang)};
        }
        return {e.c, e.s};
    }

  private:
    static constexpr int kBits = 9;
    struct Entry {
        std::uint32_t bits = 0;
        bool used = false;
        double c = 0, s = 0;
    };
    std::array<Entry, 1u << kBits> entries_{};
};

std::size_t usedrecords(const MapReport& r) {
    return std::min<std::size_t>(r.records, kSlots);
}

// Empty slots with a block after them within the file's records.
std::vector<std::size_t> gapslots(const MapReport& r) {
    std::vector<std::size_t> gaps, empty; // empty: the slots since the last block
    for (std::size_t i = 0; i < usedrecords(r); ++i) {
        if (isemptyslot(r.table[i])) {
            empty.push_back(i);
            continue;
        }
        gaps.insert(gaps.end(), empty.begin(), empty.end());
        empty.clear();
    }
    return gaps;
}

} // namespace

MapReport reportmap(const std::vector<std::byte>& bytes, bool box, std::uint64_t size) {
    MapReport r;
    r.bytes = static_cast<std::size_t>(std::max<std::uint64_t>(size, bytes.size()));
    r.records = r.bytes / kRecordBytes;
    r.partialbytes = r.bytes % kRecordBytes;
    r.beyond = std::max<std::size_t>(r.records, kSlots) - kSlots;
    decodemap(bytes, r.table);
    r.listed = listedcount(r.table);
    r.saved = savedruncount(r.table);
    r.gaps = static_cast<int>(gapslots(r).size());
    // The box grows in locals: kept in the report, every corner would wait
    // on the store of the one before.
    constexpr float inf = std::numeric_limits<float>::infinity();
    float zmin = inf, zmax = -inf, xmin = inf, xmax = -inf;
    thread_local Turns turns; // kept from map to map: they share angles too
    for (std::size_t i = 0; i < usedrecords(r); ++i) {
        const Block& b = r.table[i];
        for (float v : {b.x, b.z, b.sizex, b.sizez, b.bottom, b.height, b.angle})
            r.nonfinite += !std::isfinite(v);
        if (!isdrawn(b)) continue;
        ++r.drawn;
        if (!box) continue;
        const auto [cosine, sine] = turns.of(b.angle);
        for (const Corner& c : squarecorners(b.x, b.z, b.sizex, b.sizez, cosine, sine)) {
            if (!std::isfinite(c.h) || !std::isfinite(c.v)) continue;
            zmin = std::min(zmin, c.h), zmax = std::max(zmax, c.h);
            xmin = std::min(xmin, c.v), xmax = std::max(xmax, c.v);
        }
    }
    r.hasbox = zmin <= zmax;
    if (r.hasbox) r.zmin = zmin, r.zmax = zmax, r.xmin = xmin, r.xmax = xmax;
    return r;
}

std::vector<Problem> checkmap(const MapReport& r) {
    std::vector<Problem> out;
    if (r.saved < r.listed)
        out.push_back({static_cast<std::size_t>(r.saved) + 1,
                       "a zero size ends what a save writes: the " +
                           std::to_string(r.listed - r.saved) +
                           " listed blocks after it are dropped by the next save"});
    for (std::size_t i : gapslots(r))
        out.push_back(
            {i + 1,
             "empty slot before later blocks: they are not listed until the map is compacted"});
    static const char* const names[] = {"X", "Z", "Size X", "Size Z", "Bottom", "Height", "Angle"};
    for (std::size_t i = 0; i < usedrecords(r); ++i) {
        const Block& b = r.table[i];
        const float values[] = {b.x, b.z, b.sizex, b.sizez, b.bottom, b.height, b.angle};
        for (std::size_t k = 0; k < 7; ++k) {
            const float v = values[k];
            if (std::isfinite(v) && (k < 2 || k == 6 || (v >= 0 && v <= 100)))
                continue; // the usual case, at no cost
            const std::string name = names[k];
            if (!std::isfinite(v))
                out.push_back(
                    {i + 1, name + " is " + (std::isnan(v) ? "not a number" : "infinite")});
            else if (v < 0)
                out.push_back({i + 1, name + " is negative (" + plainnum(v) + ")"});
            else if (v > 100 && k <= 3)
                out.push_back({i + 1, name + " " + plainnum(v) +
                                          " is above 100 (capped when the block is selected)"});
            else if (v > 1000)
                out.push_back({i + 1, name + " " + plainnum(v) +
                                          " is above 1000 (capped when the block is selected)"});
        }
    }
    if (r.beyond > 0)
        out.push_back({kSlots + 1, std::to_string(r.beyond) + " records beyond 1000 are ignored"});
    if (r.partialbytes > 0)
        out.push_back({r.records + 1, "partial record of " + std::to_string(r.partialbytes) +
                                          " bytes is ignored"});
    // In the file's order, as a person reads down it.
    std::stable_sort(out.begin(), out.end(),
                     [](const Problem& a, const Problem& b) { return a.record < b.record; });
    return out;
}

} // namespace qs
