#include "document/document.h"

#include <algorithm>

namespace qs {

std::uint64_t contenthash(std::span<const std::byte> bytes) {
    std::uint64_t h = 14695981039346656037ull; // FNV-1a
    for (std::byte b : bytes)
        h = (h ^ std::to_integer<std::uint64_t>(b)) * 1099511628211ull;
    return h;
}

Document::Document() {
    known_ = &files_[""];
    known_->table = std::make_shared<const BlockTable>();
}

void Document::note(int slot) {
    const auto i = static_cast<std::size_t>(slot);
    if (touched_[i]) return;
    touched_.set(i);
    written_.push_back({static_cast<std::int16_t>(slot), table_[i], {}});
}

Block& Document::write(int slot) {
    note(slot);
    return table_.at(static_cast<std::size_t>(slot));
}

void Document::swap(int a, int b) {
    note(a);
    note(b);
    const auto i = static_cast<std::size_t>(a), j = static_cast<std::size_t>(b);
    std::swap(table_.at(i), table_.at(j));
    const bool s = selected_[i];
    selected_[i] = selected_[j];
    selected_[j] = s;
}

void Document::carry(int from) {
    if (!validslot(from)) return;
    for (int i = from; i < kSlots; ++i)
        note(i);
    const auto f = static_cast<std::size_t>(from);
    std::rotate(table_.begin() + from, table_.begin() + from + 1, table_.end());
    const bool s = selected_[f];
    for (std::size_t i = f; i + 1 < kSlots; ++i)
        selected_[i] = selected_[i + 1];
    selected_[kSlots - 1] = s;
}

void Document::replace(const BlockTable& table) {
    for (int i = 0; i < kSlots; ++i)
        note(i);
    table_ = table;
    selected_.reset();
}

std::vector<int> Document::selection() const {
    std::vector<int> out;
    out.reserve(selected_.count());
    for (std::size_t i = selected_._Find_first(); i < kSlots; i = selected_._Find_next(i))
        out.push_back(static_cast<int>(i));
    return out;
}

std::vector<std::int16_t> Document::selectionlist() const {
    std::vector<std::int16_t> out;
    for (int slot : selection())
        out.push_back(static_cast<std::int16_t>(slot));
    return out;
}

void Document::select(int slot, bool on) {
    if (validslot(slot)) selected_[static_cast<std::size_t>(slot)] = on;
}

void Document::setselection(std::span<const int> slots) {
    selected_.reset();
    for (int slot : slots)
        select(slot);
}

void Document::compareall() {
    const BlockTable* clean = known_->table.get();
    differing_ = 0;
    for (std::size_t i = 0; i < kSlots; ++i) {
        differs_[i] = clean == nullptr || !samebits(table_[i], (*clean)[i]);
        differing_ += differs_[i];
    }
}

void Document::setfile(FileRef file) {
    if (file == file_) return;
    known_ = &files_[file.path];
    file_ = std::move(file);
    compareall();
}

void Document::markclean(DiskStamp stamp, const BlockTable* onfile) {
    known_->table = std::make_shared<const BlockTable>(onfile ? *onfile : table_);
    known_->stamp = stamp;
    if (onfile) {
        compareall();
    } else {
        differs_.reset();
        differing_ = 0;
    }
}

void Document::settle() {
    if (written_.empty()) return;
    selectedbefore_ = selected_;
    currentbefore_ = current;
    filebefore_ = file_;
    modifiedbefore_ = modified();
    finish(false);
}

void Document::begin(std::string what, std::string mergekey, bool record) {
    if (depth_ > 0) {
        ++depth_;
        return;
    }
    // Writes made outside any transaction are not part of this one.
    settle();
    depth_ = 1;
    record_ = record;
    what_ = std::move(what);
    mergekey_ = std::move(mergekey);
    selectedbefore_ = selected_;
    currentbefore_ = current;
    filebefore_ = file_;
    modifiedbefore_ = modified();
    marksbefore_ = record && marks ? marks() : MapMarks{};
}

void Document::commit() {
    if (depth_ == 0 || --depth_ > 0) return;
    finish(record_);
}

void Document::finish(bool record) {
    depth_ = 0;
    Change change;
    std::vector<SlotChange> changes;
    for (SlotChange& w : written_) {
        const auto i = static_cast<std::size_t>(w.slot);
        touched_.reset(i);
        if (samebits(w.before, table_[i])) continue;
        w.after = table_[i];
        changes.push_back(w);
        // An empty slot holds no block to keep selected.
        if (selected_[i] && isemptyslot(table_[i])) selected_.reset(i);
        const bool differs = !known_->table || !samebits(table_[i], (*known_->table)[i]);
        differing_ += static_cast<int>(differs) - static_cast<int>(differs_[i]);
        differs_[i] = differs;
    }
    written_.clear();
    std::sort(changes.begin(), changes.end(),
              [](const SlotChange& a, const SlotChange& b) { return a.slot < b.slot; });
    change.changedslots.reserve(changes.size());
    for (const SlotChange& c : changes)
        change.changedslots.push_back(c.slot);
    change.selection = selected_ != selectedbefore_ || current != currentbefore_;
    change.file = file_ != filebefore_;
    change.saved = modified() != modifiedbefore_;
    if (record) {
        Step step;
        step.changes = std::move(changes);
        step.before = {currentbefore_, {}, std::move(marksbefore_)};
        step.after = {current, selectionlist(), marks ? marks() : MapMarks{}};
        if (selectedbefore_.any()) {
            for (std::size_t i = selectedbefore_._Find_first(); i < kSlots;
                 i = selectedbefore_._Find_next(i))
                step.before.selection.push_back(static_cast<std::int16_t>(i));
        }
        if (change.file) step.file = {filebefore_, file_};
        step.what = std::move(what_);
        step.mergekey = std::move(mergekey_);
        history.record(std::move(step));
    }
    if (!change.empty()) changed(change);
}

void Document::apply(const Step& step, bool forward) {
    for (const SlotChange& c : step.changes)
        write(c.slot) = forward ? c.after : c.before;
    const Stance& to = forward ? step.after : step.before;
    selected_.reset();
    for (std::int16_t slot : to.selection)
        selected_.set(static_cast<std::size_t>(slot));
    if (step.file) setfile(forward ? step.file->second : step.file->first);
}

const Step* Document::undo() {
    const Step* step = history.undo();
    if (step) apply(*step, false);
    return step;
}

const Step* Document::redo() {
    const Step* step = history.redo();
    if (step) apply(*step, true);
    return step;
}

} // namespace qs
