#pragma once
// Numbers as people type them, one key at a time.
#include <string_view>

namespace qs::ui {

// Whether a text left by a keystroke is the beginning of a longer number
// that a field's normal form would cut back, so that the window should hold
// it until the next keystroke: a trailing point ("1.", "."), trailing zeros
// after a point ("2.50", "0.0"), an exponent being written ("1e", "1e-"),
// and, in a field that keeps a sign, a sign with nothing but zeros after it
// ("-", "-0", "-0.").
bool heldtext(std::string_view text, bool keepssign);

} // namespace qs::ui
