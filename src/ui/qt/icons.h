#pragma once
// The toolbar's icons, drawn by the program so they show on any machine,
// with or without an icon theme.
#include <QIcon>
#include <QString>

namespace qs::ui {

// "New", "Open", "Save", "Copy", "Refresh" or "Delete".
QIcon toolbaricon(const QString& key);

// The window's own icon: a few turned blocks seen from above.
QIcon appicon();

} // namespace qs::ui
