#include "document/edits.h"

#include "document/numtext.h"
#include "document/table.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace qs::edits {

namespace {
constexpr double kRadians = 3.14159265358979323846 / 180;
float single(double v) {
    return tosingle(v);
}
} // namespace

void closefirstgap(Document& d) {
    // Exchanging each empty slot with the next, in turn, carries the first
    // one to the end: a slot carried forward is tested again at the next.
    const BlockTable& t = d.blocks();
    for (int i = 0; i + 1 < kSlots; ++i)
        if (isemptyslot(t[static_cast<std::size_t>(i)])) return d.carry(i);
}

void closegaps(Document& d) {
    const BlockTable before = d.blocks();
    // The blocks in their order, then the empty slots.
    std::vector<int> order(kSlots);
    std::iota(order.begin(), order.end(), 0);
    std::stable_partition(order.begin(), order.end(),
                          [&](int i) { return !isemptyslot(before[static_cast<std::size_t>(i)]); });
    std::vector<bool> selected(kSlots);
    for (int i = 0; i < kSlots; ++i)
        selected[static_cast<std::size_t>(i)] = d.selected(i);
    for (int i = 0; i < kSlots; ++i) {
        const auto from = static_cast<std::size_t>(order[static_cast<std::size_t>(i)]);
        if (static_cast<int>(from) == i) continue;
        d.set(i, before[from]);
        d.select(i, selected[from]);
    }
}

int copytofirstempty(Document& d, int from) {
    const int t = firstemptyslot(d.blocks());
    if (validslot(t) && validslot(from)) d.set(t, d.blocks()[static_cast<std::size_t>(from)]);
    return t;
}

void empty(Document& d, std::span<const int> slots) {
    for (int slot : slots)
        if (validslot(slot)) d.set(slot, Block{});
}

void setfields(Document& d, std::span<const int> slots, unsigned fields, const Block& v) {
    for (int slot : slots) {
        if (!validslot(slot)) continue;
        Block& b = d.write(slot);
        if (fields & kX) b.x = v.x;
        if (fields & kZ) b.z = v.z;
        if (fields & kSizeX) b.sizex = v.sizex;
        if (fields & kSizeZ) b.sizez = v.sizez;
        if (fields & kBottom) b.bottom = v.bottom;
        if (fields & kHeight) b.height = v.height;
        if (fields & kAngle) b.angle = v.angle;
        if (fields & kColour) b.colour = v.colour;
    }
}

void move(Document& d, std::span<const int> slots, double dz, double dx, double dbottom) {
    for (int slot : slots) {
        if (!validslot(slot)) continue;
        Block& b = d.write(slot);
        b.z = single(b.z + dz);
        b.x = single(b.x + dx);
        if (dbottom != 0) b.bottom = single(b.bottom + dbottom);
    }
}

void turn(Document& d, std::span<const int> slots, double z, double x, double degrees) {
    const double c = std::cos(degrees * kRadians), s = std::sin(degrees * kRadians);
    for (int slot : slots) {
        if (!validslot(slot)) continue;
        Block& b = d.write(slot);
        const double rz = b.z - z, rx = b.x - x;
        b.z = single(z + rz * c - rx * s);
        b.x = single(x + rz * s + rx * c);
        b.angle = single(b.angle + degrees);
    }
}

void resize(Document& d, int slot, double sizex, double sizez, double z, double x) {
    if (!validslot(slot)) return;
    Block& b = d.write(slot);
    b.sizex = single(sizex);
    b.sizez = single(sizez);
    b.z = single(z);
    b.x = single(x);
}

int freeslots(const BlockTable& table) {
    int n = 0;
    for (const Block& b : table)
        n += isemptyslot(b);
    return n;
}

Placed put(Document& d, std::span<const Block> blocks) {
    Placed placed;
    const int free = freeslots(d.blocks());
    if (static_cast<int>(blocks.size()) > free) {
        placed.refusal = "Not enough free slots: " + std::to_string(blocks.size()) + " needed, " +
                         std::to_string(free) + " free";
        return placed;
    }
    std::size_t next = 0;
    for (int slot = 0; slot < kSlots && next < blocks.size(); ++slot) {
        if (!isemptyslot(d.blocks()[static_cast<std::size_t>(slot)])) continue;
        d.set(slot, blocks[next++]);
        placed.slots.push_back(slot);
    }
    return placed;
}

} // namespace qs::edits
