#pragma once
// The map being edited: a table of exactly 1000 block records.
#include <array>
#include <cmath>
#include <cstdint>

namespace qs {

// Eight four-byte fields, in this order. `colour` is red × 65536 +
// green × 256 + blue.
struct Block {
    float x = 0;
    float z = 0;
    float sizex = 0;
    float sizez = 0;
    float bottom = 0;
    float height = 0;
    float angle = 0;
    std::int32_t colour = 0;

    bool operator==(const Block&) const = default;
};

inline constexpr int kSlots = 1000;
using BlockTable = std::array<Block, kSlots>;

inline bool validslot(int i) {
    return i >= 0 && i < kSlots;
}

// The four slot tests. They differ on purpose, above all for sizes that are
// not numbers: such a size counts as "zero or less" and as "equal to zero",
// but never as "greater than zero". Each caller uses exactly its own test.

namespace detail {
inline bool zeroornan(float v) {
    return v == 0 || std::isnan(v);
}
inline bool notpositive(float v) {
    return !(v > 0);
}
} // namespace detail

// The block list stops at the first slot whose sizes are both zero or less;
// that slot is the free slot.
inline bool endslistedrun(const Block& b) {
    return detail::notpositive(b.sizex) && detail::notpositive(b.sizez);
}

// Compaction moves such slots to the end; Copy fills the first one.
inline bool isemptyslot(const Block& b) {
    return detail::zeroornan(b.sizex) && detail::zeroornan(b.sizez);
}

// The map draws only blocks whose sizes are both greater than zero.
inline bool isdrawn(const Block& b) {
    return b.sizex > 0 && b.sizez > 0;
}

// Saving writes slot 0 and then every following slot until one of the sizes
// of a slot is zero.
inline bool continuessavedrun(const Block& b) {
    return !detail::zeroornan(b.sizex) && !detail::zeroornan(b.sizez);
}

} // namespace qs
