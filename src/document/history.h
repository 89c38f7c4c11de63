#pragma once
// The history of a map's changes, for undo and redo.
//
// A step keeps only the slots it changed, each before and after, bit for
// bit, so a keystroke on a full map costs a few dozen bytes; and where the
// map stood around it: the current block, the selection, the file it belongs
// to and what the main map showed over its drawing. Steps that share a merge
// key and follow each other become one (the keystrokes of one field on one
// block, the moves of one drag); a step that ends where it began is dropped.
#include "document/block.h"
#include "document/footprint.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qs {

struct SlotChange {
    std::int16_t slot;
    Block before;
    Block after;
};

// The file a map belongs to: its full name and its title (the name without
// its folder); both empty for a map of no file.
struct FileRef {
    std::string path;
    std::string title;
    bool operator==(const FileRef&) const = default;
};

// What the main map shows: its full drawing of the table (unless it was
// cleared since) and the outlines drawn over it since, such as the current
// block's highlight.
struct MapMarks {
    bool drawn = true;
    std::vector<Line> lines;
    bool operator==(const MapMarks&) const = default;
};

// Where the map stood before or after a step, apart from its blocks.
struct Stance {
    int current = 0; // the list's selected row
    std::vector<std::int16_t> selection;
    MapMarks marks;
};

struct Step {
    std::vector<SlotChange> changes;
    Stance before, after;
    // The file before and after, for a step that changed it.
    std::optional<std::pair<FileRef, FileRef>> file;
    std::string what; // "typing in Size X", "Delete"
    std::string mergekey;
};

class History {
  public:
    // The oldest steps are dropped beyond either bound.
    static constexpr std::size_t kMaxSteps = 10000;
    static constexpr std::size_t kMaxBytes = 16u << 20;

    // Takes in what a transaction did. One that changed neither a slot nor
    // the file adds no step; unless it shares the last step's merge key, it
    // still ends that step, so the next change starts a new one.
    void record(Step step);

    // The last step done, now undone (the next step undone, now redone);
    // null when there is none. The caller puts the map back.
    const Step* undo();
    const Step* redo();

    bool canundo() const { return done_ > 0; }
    bool canredo() const { return done_ < steps_.size(); }
    std::size_t steps() const { return steps_.size(); }
    // What the steps hold, in bytes, as counted against kMaxBytes.
    std::size_t bytes() const { return bytes_; }
    void clear();

  private:
    static std::size_t cost(const Step& s);
    void push(Step step);
    static void merge(Step& last, Step& next);

    std::deque<Step> steps_;
    std::size_t done_ = 0;
    std::size_t bytes_ = 0;
    bool mergeable_ = false;
};

// Whether two blocks are the same bit for bit (so every NaN payload and -0
// tell apart).
bool samebits(const Block& a, const Block& b);

} // namespace qs
