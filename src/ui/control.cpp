#include "ui/control.h"

namespace qs::ui {

void Dispatch::raise(const Control& source, const char* event,
                     const std::function<void()>& handler) {
    if (log_) log_->push_back(source.label() + "." + event);
    if (!handler) return;
    if (depth_ > 0) {
        ++depth_;
        if (depth_ > maxdepth_) maxdepth_ = depth_;
        struct Leave {
            int& d;
            ~Leave() { --d; }
        } leave{depth_};
        handler();
        return;
    }
    run({&source, event, {}}, handler);
}

void Dispatch::act(const std::string& what, const std::function<void()>& body,
                   const std::string& mergekey) {
    if (depth_ > 0) {
        body();
        return;
    }
    run({nullptr, what, mergekey}, body);
}

void Dispatch::run(const Action& action, const std::function<void()>& body) {
    if (onactionbegin) onactionbegin(action);
    depth_ = 1;
    if (maxdepth_ < 1) maxdepth_ = 1;
    body();
    depth_ = 0;
    if (onactionend) onactionend();
}

std::string Control::label() const {
    if (index_ < 0) return name_;
    return name_ + "(" + std::to_string(index_) + ")";
}

} // namespace qs::ui
