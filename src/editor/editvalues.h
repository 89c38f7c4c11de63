#pragma once
// The values the editor's controls take from the field texts, each worked
// out in one place.
#include "document/numtext.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qs {

// The angle field's value: its first four characters in whole degrees,
// the remainder by 360 (with the sign of the dividend).
inline std::int32_t wholeangle(std::string_view text) {
    return towhole32(readnum(first(text, 4))) % 360;
}

// The angle field's normal form: that value without a sign.
inline std::string angletext(std::string_view text) {
    return signless(wholeangle(text));
}

// The angle bar's value for the angle field's whole text.
inline std::int32_t anglebar(std::string_view text) {
    return towhole32(readnum(text)) % 360;
}

// A size slider's value for a size field's text, in tenths.
inline std::int16_t sizeslider(std::string_view text) {
    return towhole16(readnum(text) * 10);
}

// A block's colour (red high) and the display colour (red low) of the same
// three components.
inline std::int32_t blockcolour(int red, int green, int blue) {
    return red * 65536 + green * 256 + blue;
}
inline std::int32_t displaycolour(int red, int green, int blue) {
    return red + green * 256 + blue * 65536;
}

// The display colour of a grey level: red, green and blue all equal to it.
inline std::int32_t grey(int level) {
    return level * 65793;
}

} // namespace qs
