#pragma once
// Map files: a headerless sequence of 32-byte little-endian records, one per
// slot in slot order. Height comes before Bottom, and the angle is stored
// with its sign flipped.
#include "document/block.h"

#include <cstddef>
#include <span>
#include <vector>

namespace qs {

inline constexpr std::size_t kRecordBytes = 32;

// Replaces every slot of `table`: the first min(1000, whole records) slots
// from the bytes, the rest empty. Trailing bytes of a partial record are
// ignored.
void decodemap(std::span<const std::byte> bytes, BlockTable& table);

// The bytes of the saved run: slot 0, then each following slot while both of
// its sizes are non-zero.
std::vector<std::byte> encodemap(const BlockTable& table);

// The bytes of every slot, all 1000 records: the whole table, which reads
// back bit for bit.
std::vector<std::byte> encodetable(const BlockTable& table);

// One record from its 32 bytes, and into them.
Block decoderecord(const std::byte* record);
void encoderecord(const Block& b, std::byte* record);

// Records one by one, whatever their sizes: every whole record of a file's
// bytes (beyond 1000 too), and the bytes of records.
std::vector<Block> readrecords(std::span<const std::byte> bytes);
std::vector<std::byte> writerecords(std::span<const Block> records);

// How many slots the saved run of `table` holds (1 to 1000).
int savedruncount(const BlockTable& table);

} // namespace qs
