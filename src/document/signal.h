#pragma once
// Synchronous notifications, and connections that end with their owner.
//
// A signal calls every connected slot in the order they were connected,
// before it returns. A slot connected while the signal is being raised is
// first called the next time; a slot whose connection ends meanwhile is not
// called any more, even in the raise under way. Raising a signal from one of
// its own slots raises it again, nested.
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace qs {

// Ends a connection when it goes, or when told; moves, never copies.
class Connection {
  public:
    Connection() = default;
    explicit Connection(std::function<void()> end) : end_(std::move(end)) {}
    Connection(Connection&& other) noexcept : end_(std::exchange(other.end_, nullptr)) {}
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            disconnect();
            end_ = std::exchange(other.end_, nullptr);
        }
        return *this;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { disconnect(); }

    void disconnect() {
        if (auto end = std::exchange(end_, nullptr)) end();
    }
    bool connected() const { return static_cast<bool>(end_); }

  private:
    std::function<void()> end_;
};

template <typename... Args> class Signal {
  public:
    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    // The connection may outlive the signal: ending it then does nothing.
    [[nodiscard]] Connection connect(std::function<void(Args...)> slot) {
        const std::uint64_t id = ++lastid_;
        slots_->push_back({id, std::make_shared<std::function<void(Args...)>>(std::move(slot))});
        return Connection([list = std::weak_ptr<Slots>(slots_), id] {
            if (auto entries = list.lock())
                std::erase_if(*entries, [id](const Entry& e) { return e.id == id; });
        });
    }

    void operator()(Args... args) const {
        if (slots_->empty()) return;
        const Slots now = *slots_; // connections made meanwhile wait for the next raise
        for (const Entry& e : now)
            if (connected(e.id)) (*e.slot)(args...);
    }

    std::size_t size() const { return slots_->size(); }

  private:
    struct Entry {
        std::uint64_t id;
        std::shared_ptr<std::function<void(Args...)>> slot;
    };
    using Slots = std::vector<Entry>;

    bool connected(std::uint64_t id) const {
        for (const Entry& e : *slots_)
            if (e.id == id) return true;
        return false;
    }

    std::shared_ptr<Slots> slots_ = std::make_shared<Slots>();
    std::uint64_t lastid_ = 0;
};

} // namespace qs
