#pragma once
// What a map file holds, as the editor would see it, and what in it would
// surprise a person: for tools that read many files.
#include "document/block.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qs {

struct MapReport {
    std::size_t bytes = 0;
    std::size_t records = 0;      // whole records in the file
    std::size_t partialbytes = 0; // bytes of a partial record at the end
    std::size_t beyond = 0;       // whole records after the 1000th, ignored
    int listed = 0;               // blocks the list shows
    int saved = 0;                // records the next save writes
    int drawn = 0;                // blocks the map draws
    int gaps = 0;                 // empty slots before later blocks
    int nonfinite = 0;            // fields that are NaN or infinite
    bool hasbox = false;          // the drawn blocks' bounding box in map coordinates:
    float zmin = 0, zmax = 0;     // across (a block's Z)
    float xmin = 0, xmax = 0;     // and up (its X)
    BlockTable table{};
};

// The bounding box costs the corners of every drawn block; `box` false
// leaves it out. `size` is the file's, when only its start is in `bytes`.
MapReport reportmap(const std::vector<std::byte>& bytes, bool box = true, std::uint64_t size = 0);

// One thing a person would not expect, at a record counted from 1.
struct Problem {
    std::size_t record;
    std::string text;
};
std::vector<Problem> checkmap(const MapReport& report);

} // namespace qs
