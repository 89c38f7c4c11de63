#pragma once
// Conversions between numbers and the texts the editor shows, stores and reads.
//
// The texts never depend on the locale: "." is the decimal point everywhere.
// Single- and double-precision values switch to exponent notation at the same
// magnitudes (decimal exponent below -4, or 15 and above), so a value shown in
// one precision and read back in the other never flips between notations.
#include <cstdint>
#include <string>
#include <string_view>

namespace qs {

// Reads the longest leading decimal number of `text`: leading blanks skipped,
// optional sign, digits, optional "." and digits, optional exponent ("E" or
// "e", optional sign, digits); blanks inside the number are skipped. Anything
// else ends the number. No leading number reads as 0. Never fails: a value
// beyond the double range reads as the largest finite double of its sign, one
// too small for it reads as 0.
double readnum(std::string_view text);

// Whether `text` begins with a number that readnum reads (after blanks).
bool hasnumber(std::string_view text);

// The first n characters of a text, or all of it when shorter.
inline std::string_view first(std::string_view text, std::size_t n) {
    return text.substr(0, n);
}

// " 7", "-3", " .5", "-.25": a blank before zero and positive values, no "0"
// before the point, the shortest digits that give back the value (at most 7
// significant digits in single precision, 15 in double). Not-a-number is
// written " NaN" and infinities " Inf" and "-Inf"; those texts read as 0.
std::string numstr(float v);
std::string numstr(double v);
std::string numstr(std::int32_t v);

// As numstr, without the blank before non-negative values and with a "0"
// before the point of a value below 1 in magnitude: "0.5", "-3".
std::string plainnum(float v);
std::string plainnum(double v);
std::string plainnum(std::int32_t v);

// numstr without its first character (the blank or the "-").
template <typename T> std::string signless(T v) {
    return numstr(v).substr(1);
}

// "-" for a negative value, nothing otherwise.
template <typename T> std::string_view signchar(T v) {
    return v < 0 ? "-" : "";
}

// The sign character followed by the signless form: "12.5", "-3.75", ".5".
template <typename T> std::string signednum(T v) {
    return std::string(signchar(v)) + signless(v);
}

// The nearest whole number, halves to the even neighbour. A value outside the
// result's range gives the nearest end of the range; not-a-number gives 0.
std::int16_t towhole16(double v);
std::int32_t towhole32(double v);

// The nearest single-precision value; a finite value beyond the single range
// gives the largest finite single of its sign instead of an infinity.
float tosingle(double v);

} // namespace qs
