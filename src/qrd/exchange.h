#pragma once
// Map records as JSON or CSV text, and back, exactly: every record of the
// file (beyond 1000 too), every bit of every value. A partial record at the
// end of a file is not a record and is left out.
#include "document/block.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qs::qrd {

// The records of a map file's bytes, and the bytes of records.
std::vector<Block> records(const std::vector<std::byte>& bytes);
std::vector<std::byte> recordbytes(const std::vector<Block>& records);

std::string tojson(const std::vector<Block>& records);
std::string tocsv(const std::vector<Block>& records);

// What went wrong in a text, and where: line and column count from 1.
struct TextFault {
    std::size_t line = 0, column = 0;
    std::string what;
};

// The records of a text, or the first fault in it.
std::optional<std::vector<Block>> fromjson(const std::string& text, TextFault& fault);
std::optional<std::vector<Block>> fromcsv(const std::string& text, TextFault& fault);

} // namespace qs::qrd
