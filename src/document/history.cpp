#include "document/history.h"

#include <algorithm>
#include <cstring>

namespace qs {

bool samebits(const Block& a, const Block& b) {
    return std::memcmp(&a, &b, sizeof(Block)) == 0;
}

std::size_t History::cost(const Step& s) {
    std::size_t bytes = sizeof(Step) + s.changes.capacity() * sizeof(SlotChange) +
                        s.what.capacity() + s.mergekey.capacity();
    for (const Stance* st : {&s.before, &s.after})
        bytes += st->selection.capacity() * sizeof(std::int16_t) +
                 st->marks.lines.capacity() * sizeof(Line);
    if (s.file) bytes += s.file->first.path.capacity() + s.file->second.path.capacity();
    return bytes;
}

void History::record(Step step) {
    const bool merges = mergeable_ && !step.mergekey.empty() && done_ == steps_.size() &&
                        !steps_.empty() && steps_.back().mergekey == step.mergekey && !step.file;
    if (merges) {
        Step& last = steps_.back();
        bytes_ -= cost(last);
        merge(last, step);
        if (last.changes.empty() && !last.file) {
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
    if (step.changes.empty() && !step.file) return;
    mergeable_ = !step.mergekey.empty();
    push(std::move(step));
}

void History::merge(Step& last, Step& next) {
    for (const SlotChange& c : next.changes) {
        auto it = std::find_if(last.changes.begin(), last.changes.end(),
                               [&](const SlotChange& k) { return k.slot == c.slot; });
        if (it == last.changes.end())
            last.changes.push_back(c);
        else
            it->after = c.after;
    }
    std::erase_if(last.changes, [](const SlotChange& k) { return samebits(k.before, k.after); });
    std::sort(last.changes.begin(), last.changes.end(),
              [](const SlotChange& a, const SlotChange& b) { return a.slot < b.slot; });
    last.after = std::move(next.after);
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

const Step* History::undo() {
    if (!canundo()) return nullptr;
    return &steps_[--done_];
}

const Step* History::redo() {
    mergeable_ = false;
    if (!canredo()) return nullptr;
    return &steps_[done_++];
}

void History::clear() {
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
    mergeable_ = false;
}

} // namespace qs
