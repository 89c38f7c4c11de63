// The toolbar's commands.
#include "app/mainform.h"

namespace qs {

void MainForm::tbToolBar_ButtonClick(const std::string& /*key*/) {}

} // namespace qs
