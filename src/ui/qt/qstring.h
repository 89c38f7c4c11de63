#pragma once
// The program's texts are UTF-8 std::strings; Qt's are QStrings.
#include <QString>

#include <string>

namespace qs::ui {

inline QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace qs::ui
