#pragma once
// Sets up the process for the window: style and fonts that look the same on
// every machine, and a polite close on SIGTERM.
class QApplication;
class QWidget;

namespace qs::ui {

void setupapplication(QApplication& app);

// Closes every top-level window when the process is asked to terminate, so
// the window's unload still runs.
void closeonterminate(QApplication& app);

// Ends the program once `window` has been painted for the first time.
void quitwhenpainted(QWidget& window);

} // namespace qs::ui
