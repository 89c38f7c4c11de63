// Which handler each control's notification runs.
#include "app/mainform.h"

namespace qs {

void MainForm::wire() {}

} // namespace qs
