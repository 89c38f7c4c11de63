#pragma once
// Changes to a map, as plain functions over the document and sets of its
// slots. Each writes through the document, so each belongs inside a
// transaction, which makes it one step of the history.
#include "document/document.h"

#include <span>
#include <string>
#include <vector>

namespace qs::edits {

// The compaction pass: the first empty slot among 0 to 998 is carried to the
// last slot, and every slot after it moves one slot toward the front.
void closefirstgap(Document& d);
// Every gap closed at once: the blocks keep their order, the empty slots
// follow them.
void closegaps(Document& d);

// Copies slot `from` into the first empty slot and gives that slot's index
// (kSlots, and nothing copied, when there is none or `from` is no slot).
int copytofirstempty(Document& d, int from);
// Sets every field of the slots to 0.
void empty(Document& d, std::span<const int> slots);

// The fields of a block, to say which ones `setfields` writes.
enum Field : unsigned {
    kX = 1,
    kZ = 2,
    kSizeX = 4,
    kSizeZ = 8,
    kBottom = 16,
    kHeight = 32,
    kAngle = 64,
    kColour = 128,
};
void setfields(Document& d, std::span<const int> slots, unsigned fields, const Block& values);

// Moves blocks `dz` across and `dx` up the map, and their Bottom by `dbottom`.
void move(Document& d, std::span<const int> slots, double dz, double dx, double dbottom = 0);
// Turns blocks by `degrees` about the map point (z, x), counter-clockwise
// as the map shows it: their centres turn about it, and their angles grow.
void turn(Document& d, std::span<const int> slots, double z, double x, double degrees);
// Gives a block new half-extents and a new centre.
void resize(Document& d, int slot, double sizex, double sizez, double z, double x);

// How many slots are free for new blocks: the empty ones.
int freeslots(const BlockTable& table);

// Puts blocks into the first free slots, in order. A map without room for
// all of them takes none and says why.
struct Placed {
    std::vector<int> slots; // where the blocks went
    std::string refusal;    // empty when they went in
};
Placed put(Document& d, std::span<const Block> blocks);

} // namespace qs::edits
