#pragma once
// The blocks of the benchmark maps: spread over the map, every one drawn,
// with fractions, angles and colours of their own.
#include "support/harness.h"

#include <cmath>

namespace qs::bench {

inline Block benchblock(int i) {
    const auto v = static_cast<float>(i);
    return Block{std::fmod(v * 0.37f, 70.0f) + 2.5f,
                 std::fmod(v * 0.73f, 70.0f) - 17.5f,
                 1.5f,
                 0.5f,
                 std::fmod(v, 50.0f),
                 2.5f,
                 std::fmod(v * 7, 360.0f),
                 0x10101 * (i % 200)};
}

} // namespace qs::bench
