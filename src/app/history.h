#pragma once
// The history of a person's changes to the block table, for undo and redo.
//
// A step keeps only the slots it changed, each before and after, bit for
// bit, so a keystroke on a full map costs a few dozen bytes. Steps that
// share a merge key and follow each other become one (the keystrokes of one
// field on one block); a step that ends where it began is dropped.
#include "document/block.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace qs {

struct SlotChange {
    std::int16_t slot;
    Block before;
    Block after;
};

struct Step {
    std::vector<SlotChange> changes;
    int rowbefore = 0; // the selected row before the step
    int rowafter = 0;  // and after it
    std::string what;  // "typing in Size X", "Delete"
    std::string mergekey;
};

class History {
public:
    // The oldest steps are dropped beyond either bound.
    static constexpr std::size_t kMaxSteps = 10000;
    static constexpr std::size_t kMaxBytes = 16u << 20;

    // Records what an action did to the table. An action that changed
    // nothing adds no step; unless it shares the last step's merge key, it
    // still ends that step, so the next change starts a new one.
    void record(const BlockTable& before, const BlockTable& after, int rowbefore, int rowafter,
                std::string what, std::string mergekey);

    // Takes the table back over the last step done (forward over the next
    // step undone); null when there is none.
    const Step* undo(BlockTable& table);
    const Step* redo(BlockTable& table);

    bool canundo() const { return done_ > 0; }
    bool canredo() const { return done_ < steps_.size(); }
    std::size_t steps() const { return steps_.size(); }
    // What the steps hold, in bytes, as counted against kMaxBytes.
    std::size_t bytes() const { return bytes_; }
    void clear();

private:
    static std::size_t cost(const Step& s);
    void push(Step step);
    void merge(Step& last, const Step& next);

    std::deque<Step> steps_;
    std::size_t done_ = 0;
    std::size_t bytes_ = 0;
    bool mergeable_ = false;
};

// Whether two blocks are the same bit for bit (so every NaN payload and -0
// tell apart).
bool samebits(const Block& a, const Block& b);

} // namespace qs
