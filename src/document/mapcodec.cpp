#include "document/mapcodec.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace qs {

namespace {

constexpr std::uint32_t kSignBit = 0x80000000u;

// Little-endian on any machine; on a little-endian one, a plain copy.
std::uint32_t load32(const std::byte* p) {
    std::uint32_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, p, 4);
    } else {
        for (int k = 3; k >= 0; --k)
            v = (v << 8) | std::to_integer<std::uint32_t>(p[k]);
    }
    return v;
}

void store32(std::byte* p, std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, 4);
    } else {
        for (int k = 0; k < 4; ++k)
            p[k] = static_cast<std::byte>((v >> (8 * k)) & 0xFFu);
    }
}

float loadsingle(const std::byte* p) {
    return std::bit_cast<float>(load32(p));
}
void storesingle(std::byte* p, float v) {
    store32(p, std::bit_cast<std::uint32_t>(v));
}

// Negation flips only the sign bit, for every value including 0 and NaN.
float flipsign(float v) {
    return std::bit_cast<float>(std::bit_cast<std::uint32_t>(v) ^ kSignBit);
}

} // namespace

Block decoderecord(const std::byte* r) {
    Block b;
    b.x = loadsingle(r + 0);
    b.z = loadsingle(r + 4);
    b.sizex = loadsingle(r + 8);
    b.sizez = loadsingle(r + 12);
    b.height = loadsingle(r + 16);
    b.bottom = loadsingle(r + 20);
    b.angle = flipsign(loadsingle(r + 24));
    b.colour = static_cast<std::int32_t>(load32(r + 28));
    return b;
}

void encoderecord(const Block& b, std::byte* r) {
    storesingle(r + 0, b.x);
    storesingle(r + 4, b.z);
    storesingle(r + 8, b.sizex);
    storesingle(r + 12, b.sizez);
    storesingle(r + 16, b.height);
    storesingle(r + 20, b.bottom);
    storesingle(r + 24, flipsign(b.angle));
    store32(r + 28, static_cast<std::uint32_t>(b.colour));
}

void decodemap(std::span<const std::byte> bytes, BlockTable& table) {
    const std::size_t records = std::min<std::size_t>(bytes.size() / kRecordBytes, kSlots);
    std::fill(table.begin() + static_cast<std::ptrdiff_t>(records), table.end(), Block{});
    for (std::size_t n = 0; n < records; ++n)
        table[n] = decoderecord(bytes.data() + n * kRecordBytes);
}

int savedruncount(const BlockTable& table) {
    int n = 1;
    while (n < kSlots && continuessavedrun(table[static_cast<std::size_t>(n)]))
        ++n;
    return n;
}

std::vector<std::byte> encodemap(const BlockTable& table) {
    return writerecords(std::span(table).first(static_cast<std::size_t>(savedruncount(table))));
}

std::vector<std::byte> encodetable(const BlockTable& table) {
    return writerecords(table);
}

std::vector<Block> readrecords(std::span<const std::byte> bytes) {
    std::vector<Block> out(bytes.size() / kRecordBytes);
    for (std::size_t n = 0; n < out.size(); ++n)
        out[n] = decoderecord(bytes.data() + n * kRecordBytes);
    return out;
}

std::vector<std::byte> writerecords(std::span<const Block> records) {
    std::vector<std::byte> out(records.size() * kRecordBytes);
    for (std::size_t n = 0; n < records.size(); ++n)
        encoderecord(records[n], out.data() + n * kRecordBytes);
    return out;
}

} // namespace qs
