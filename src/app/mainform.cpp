#include "app/mainform.h"

namespace qs {

MainForm::MainForm(Services s) : services(s) {
    layout();
    wire();
    document.marks = [this] { return mapmarks(); };
    recoverylistener_ = document.changed.connect([this](const Change&) { changed(); });
}

} // namespace qs
