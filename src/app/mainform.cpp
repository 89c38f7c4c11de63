#include "app/mainform.h"

namespace qs {

MainForm::MainForm(Services s) : services(s) {
    layout();
    wire();
}

} // namespace qs
