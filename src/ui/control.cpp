#include "ui/control.h"

namespace qs::ui {

void Dispatch::raise(const Control& source, const char* event,
                     const std::function<void()>& handler) {
    if (log_) log_->push_back(source.label() + "." + event);
    if (!handler) return;
    ++depth_;
    if (depth_ > maxdepth_) maxdepth_ = depth_;
    struct Leave {
        int& d;
        ~Leave() { --d; }
    } leave{depth_};
    handler();
}

std::string Control::label() const {
    if (index_ < 0) return name_;
    return name_ + "(" + std::to_string(index_) + ")";
}

} // namespace qs::ui
