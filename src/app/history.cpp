#include "app/history.h"

#include <algorithm>
#include <cstring>

namespace qs {

bool samebits(const Block& a, const Block& b) { return std::memcmp(&a, &b, sizeof(Block)) == 0; }

std::size_t History::cost(const Step& s) {
    return sizeof(Step) + s.changes.capacity() * sizeof(SlotChange) + s.what.capacity() + s.mergekey.capacity();
}

void History::record(const BlockTable& before, const BlockTable& after, int rowbefore, int rowafter,
                     std::string what, std::string mergekey) {
    const bool merges = mergeable_ && !mergekey.empty() && done_ == steps_.size() && !steps_.empty() &&
                        steps_.back().mergekey == mergekey;
    Step step;
    if (std::memcmp(before.data(), after.data(), sizeof(BlockTable)) != 0) {
        for (std::size_t i = 0; i < before.size(); ++i)
            if (!samebits(before[i], after[i]))
                step.changes.push_back({static_cast<std::int16_t>(i), before[i], after[i]});
    }
    step.rowbefore = rowbefore;
    step.rowafter = rowafter;
    step.what = std::move(what);
    step.mergekey = std::move(mergekey);

    if (merges) {
        Step& last = steps_.back();
        bytes_ -= cost(last);
        merge(last, step);
        if (last.changes.empty()) {
            // Typed back to where it began: nothing is left to undo.
            steps_.pop_back();
            --done_;
            mergeable_ = false;
        } else {
            bytes_ += cost(last);
        }
        return;
    }
    // Only a step just made can take in the next one.
    mergeable_ = false;
    if (step.changes.empty()) return;
    mergeable_ = !step.mergekey.empty();
    push(std::move(step));
}

void History::merge(Step& last, const Step& next) {
    for (const SlotChange& c : next.changes) {
        auto it = std::find_if(last.changes.begin(), last.changes.end(),
                               [&](const SlotChange& k) { return k.slot == c.slot; });
        if (it == last.changes.end()) last.changes.push_back(c);
        else it->after = c.after;
    }
    std::erase_if(last.changes, [](const SlotChange& k) { return samebits(k.before, k.after); });
    std::sort(last.changes.begin(), last.changes.end(),
              [](const SlotChange& a, const SlotChange& b) { return a.slot < b.slot; });
    last.rowafter = next.rowafter;
}

void History::push(Step step) {
    while (steps_.size() > done_) {
        bytes_ -= cost(steps_.back());
        steps_.pop_back();
    }
    step.changes.shrink_to_fit();
    bytes_ += cost(step);
    steps_.push_back(std::move(step));
    ++done_;
    while (steps_.size() > 1 && (steps_.size() > kMaxSteps || bytes_ > kMaxBytes)) {
        bytes_ -= cost(steps_.front());
        steps_.pop_front();
        --done_;
    }
}

const Step* History::undo(BlockTable& table) {
    mergeable_ = false;
    if (!canundo()) return nullptr;
    const Step& s = steps_[--done_];
    for (const SlotChange& c : s.changes) table[static_cast<std::size_t>(c.slot)] = c.before;
    return &s;
}

const Step* History::redo(BlockTable& table) {
    mergeable_ = false;
    if (!canredo()) return nullptr;
    const Step& s = steps_[done_++];
    for (const SlotChange& c : s.changes) table[static_cast<std::size_t>(c.slot)] = c.after;
    return &s;
}

void History::clear() {
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
    mergeable_ = false;
}

} // namespace qs
