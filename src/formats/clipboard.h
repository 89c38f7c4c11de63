#pragma once
// Blocks on the system clipboard: the program's own form, their exact
// records under a type of their own, and beside it text a person or a
// spreadsheet can read: tab-separated rows under a header line.
#include "formats/text.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qs::formats {

inline constexpr const char* kBlocksMime = "application/x-quarrystead-blocks";

// The records as a map file holds them, one after another.
std::string torecords(std::span<const Block> blocks);

// What a paste takes: the program's own records when there are any, else
// the text as JSON, or as rows of comma- or tab-separated values under a
// header line. Nothing, and why, when it is not blocks; blocks that would
// end the list or a save (a size of 0, or none above 0) are refused too,
// named by their place.
std::optional<std::vector<Block>> frompaste(std::string_view records, std::string_view text,
                                            TextFault& fault);

} // namespace qs::formats
