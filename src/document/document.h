#pragma once
// The map being edited: its block table, the file it belongs to, which of
// its blocks are selected, and the history of its changes.
//
// Every change is written through the document inside a transaction. A
// transaction ends in one change event that names the slots whose records
// changed (bit for bit), and says whether the selection, the file or the
// saved state changed; it is one step of the history, unless it changed
// nothing. Transactions nest: an inner one folds into the outer one. Writes
// made outside any transaction are announced, without a step, when the next
// one begins.
#include "document/block.h"
#include "document/history.h"
#include "document/signal.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qs {

// What one transaction changed.
struct Change {
    std::vector<int> changedslots; // whose record changed, in slot order
    bool selection = false;        // the selected slots or the current block
    bool file = false;             // the file the map belongs to
    bool saved = false;            // whether the map counts as saved
    bool empty() const { return changedslots.empty() && !selection && !file && !saved; }
};

// What a file held when the editor last read or wrote it, to tell whether
// something else has changed it since.
struct DiskStamp {
    bool known = false;
    std::uint64_t size = 0;
    std::int64_t mtime = 0; // nanoseconds since the epoch
    std::uint64_t hash = 0; // of its bytes
    bool operator==(const DiskStamp&) const = default;
};
std::uint64_t contenthash(std::span<const std::byte> bytes);

class Document {
  public:
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The table.
    const BlockTable& blocks() const { return table_; }
    // A slot's record, to be changed: the slot counts as written.
    Block& write(int slot);
    void set(int slot, const Block& b) { write(slot) = b; }
    // Exchanges two slots' records; a selected block stays selected.
    void swap(int a, int b);
    // Carries slot `from` to the last slot and every slot after it one slot
    // toward the front, selection marks included: what a compaction pass does.
    void carry(int from);
    // Every slot from `table`; nothing stays selected.
    void replace(const BlockTable& table);

    // The current block: the list's selected row, whose block the editor
    // shows. It need not be selected.
    std::int16_t current = 0;

    // The selected blocks. A slot that becomes exactly empty leaves the
    // selection when the transaction ends.
    bool selected(int slot) const {
        return validslot(slot) && selected_[static_cast<std::size_t>(slot)];
    }
    int selectedcount() const { return static_cast<int>(selected_.count()); }
    std::vector<int> selection() const; // in slot order
    void select(int slot, bool on = true);
    void setselection(std::span<const int> slots);
    void clearselection() { selected_.reset(); }

    // The file the map belongs to, and whether the map differs from what
    // the editor last read from it or wrote to it (for a map of no file:
    // from what New made).
    const FileRef& file() const { return file_; }
    void setfile(FileRef file);
    // The map as it stands is what its file holds (or, given, `onfile`,
    // which a save that could not hold every block wrote).
    void markclean(DiskStamp stamp = {}, const BlockTable* onfile = nullptr);
    bool modified() const { return differing_ > 0; }
    // What the file held when last read or written here; set, what another
    // editor last knew of it.
    const DiskStamp& stamp() const { return known_->stamp; }
    void setstamp(const DiskStamp& stamp) { known_->stamp = stamp; }

    // Transactions. `what` names the step in the history, `mergekey` lets
    // it merge with the step before; `record` false makes no step (undo,
    // redo).
    void begin(std::string what = {}, std::string mergekey = {}, bool record = true);
    void commit();
    int depth() const { return depth_; }

    History history;
    // Inside a transaction: takes the map back over the last step done
    // (forward over the next step undone), its blocks, selection and file;
    // null when there is none. The current block is the caller's to put back.
    const Step* undo();
    const Step* redo();

    // Asked at each step's start and end: what the main map shows.
    std::function<MapMarks()> marks;

    Signal<const Change&> changed;

  private:
    struct Known {
        std::shared_ptr<const BlockTable> table; // what the file holds
        DiskStamp stamp;
    };
    void note(int slot);
    void settle(); // announces writes made outside a transaction
    void finish(bool record);
    // Works out which slots differ from what the file holds.
    void compareall();
    std::vector<std::int16_t> selectionlist() const;
    void apply(const Step& step, bool forward);

    BlockTable table_{};
    std::bitset<kSlots> selected_;
    FileRef file_;
    std::map<std::string, Known> files_;
    Known* known_ = nullptr;
    std::bitset<kSlots> differs_;
    int differing_ = 0;

    // The open transaction.
    int depth_ = 0;
    bool record_ = true;
    std::string what_, mergekey_;
    std::bitset<kSlots> touched_;
    std::vector<SlotChange> written_; // each written slot once, with its record before
    std::bitset<kSlots> selectedbefore_;
    int currentbefore_ = 0;
    FileRef filebefore_;
    bool modifiedbefore_ = false;
    MapMarks marksbefore_;
};

// A transaction for the length of a scope.
class Transaction {
  public:
    explicit Transaction(Document& document, std::string what = {}, std::string mergekey = {},
                         bool record = true)
        : document_(document) {
        document_.begin(std::move(what), std::move(mergekey), record);
    }
    ~Transaction() { document_.commit(); }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

  private:
    Document& document_;
};

} // namespace qs
