#pragma once
// Blocks as text a person can read and edit, and back, exactly: every bit of
// every value. Finite values are written as the shortest decimal that reads
// back to the same single ("-0.0" for negative zero in JSON), infinities as
// "inf" and "-inf", and a NaN with its whole bit pattern, "nan(0x7fc01234)".
//
// Two forms: JSON, {"format": "quarrystead map", "version": 1, "records":
// [...]}, each record with all eight fields; and rows of values separated by
// commas or tabs under a header line that names the columns, as
// spreadsheets copy them.
#include "document/block.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qs::formats {

// The eight fields, in the order of a block's record.
inline constexpr const char* kFieldNames[8] = {"x",      "z",      "sizex", "sizez",
                                               "bottom", "height", "angle", "colour"};

// JSON, whole or piece by piece for a long stream: the head, each record
// (`first` for the first one), the tail (`empty` when no record was
// written).
std::string jsonhead();
void jsonrecord(std::string& out, const Block& b, bool first);
std::string jsontail(bool empty);
std::string tojson(std::span<const Block> records);

// Rows of values separated by `separator` (',' or '\t'), under the header
// line "x,z,sizex,sizez,bottom,height,angle,colour".
std::string tableheader(char separator);
void tablerow(std::string& out, const Block& b, char separator);
std::string totable(std::span<const Block> records, char separator);

// What is wrong with a text, and where: line and column count from 1.
struct TextFault {
    std::size_t line = 0, column = 0;
    std::string what;
};

// The records of a JSON text, or of rows of values. Rows are separated as
// their header line is (by tabs when it holds one, else by commas); the
// header names the columns in any order and case ("Size X", "sizex"),
// columns it leaves out are 0, and so are empty cells. Blanks around a
// value are allowed; a colour is a whole number, decimal or "0x" hex.
// Nothing, and the first fault, when the text is not blocks.
std::optional<std::vector<Block>> fromjson(std::string_view text, TextFault& fault);
std::optional<std::vector<Block>> fromtable(std::string_view text, TextFault& fault);
// Either: JSON when the text begins with "{".
std::optional<std::vector<Block>> fromtext(std::string_view text, TextFault& fault);

} // namespace qs::formats
