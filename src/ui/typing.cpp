#include "ui/typing.h"

namespace qs::ui {

namespace {
bool isdigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

bool heldtext(std::string_view t, bool keepssign) {
    std::size_t i = 0;
    const bool negative = !t.empty() && t[0] == '-';
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) i = 1;
    std::size_t digits = 0;
    bool point = false, nonzero = false;
    for (; i < t.size(); ++i) {
        if (isdigit(t[i])) {
            ++digits;
            nonzero = nonzero || t[i] != '0';
        } else if (t[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (i == t.size()) {
        if (point && (t.back() == '.' || t.back() == '0')) return true;
        return negative && keepssign && !nonzero;
    }
    if ((t[i] != 'e' && t[i] != 'E') || digits == 0) return false;
    ++i;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
    return i == t.size();
}

} // namespace qs::ui
