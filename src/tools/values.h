#pragma once
// The values the editor's fields can hold: a value a tool writes into a
// block is one of these, so that showing the block in the fields and
// committing them gives back the same bits.
#include <cmath>

namespace qs::tools {

// X and Z: at most seven significant digits, with their sign.
float holdposition(double v);
// Size X and Size Z: what five characters show, from the least the fields
// hold up to 100; a size never reaches zero.
float holdsize(double v);
// Bottom and Height: what five characters show, from 0 to 1000; the fields
// keep no sign.
float holddepth(double v);
// The angle: whole degrees from 0 to 359.
float holdangle(double degrees);

// The least size a tool makes.
inline constexpr double kLeastSize = 0.01;

// `v` to the nearest multiple of `step`.
inline double ongrid(double v, double step) {
    return step > 0 ? std::round(v / step) * step : v;
}

} // namespace qs::tools
