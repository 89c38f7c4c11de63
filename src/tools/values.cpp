#include "tools/values.h"

#include "document/numtext.h"

#include <algorithm>

namespace qs::tools {

namespace {

// What reading a field's text back gives, until it gives back what it read:
// two passes settle every value.
template <typename Read> float settle(float v, Read read) {
    for (int pass = 0; pass < 3; ++pass) {
        const float back = read(v);
        if (back == v) break;
        v = back;
    }
    return v;
}

} // namespace

float holdposition(double v) {
    if (!std::isfinite(v)) v = 0;
    return settle(tosingle(v), [](float f) { return tosingle(readnum(signednum(f))); });
}

float holdsize(double v) {
    if (!(v > kLeastSize)) v = kLeastSize;
    return settle(tosingle(std::min(v, 100.0)),
                  [](float f) { return tosingle(readnum(first(signless(f), 5))); });
}

float holddepth(double v) {
    if (!(v > 0)) v = 0;
    return settle(tosingle(std::min(v, 1000.0)), [](float f) {
        return tosingle(readnum(signless(readnum(first(signednum(f), 5)))));
    });
}

float holdangle(double degrees) {
    if (!std::isfinite(degrees)) degrees = 0;
    const double whole = std::round(std::fmod(degrees, 360.0));
    return static_cast<float>(whole < 0 ? whole + 360 : whole == 360 ? 0 : whole);
}

} // namespace qs::tools
