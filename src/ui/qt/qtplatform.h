#pragma once
// The desktop's services, realised with Qt.
#include "ui/platform.h"

#include <QElapsedTimer>
#include <QTimer>

#include <string>

class QWidget;

namespace qs::ui {

// QSettings under the application's name; sections are groups.
class QtSettings : public SettingsStore {
  public:
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback) override;
    void set(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override;
};

// Qt's own file dialog, so it behaves alike on every desktop and under test.
class QtFileDialog : public FileDialog {
  public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void setparent(QWidget* parent) { parent_ = parent; }
    void setfilter(const std::string& filter) override { filter_ = filter; }
    FileChoice showopen() override;
    FileChoice showsave() override;
    FileChoice showexport(const std::string& suggested) override;
    void setlastfile(const std::string& path) override { last_ = path; }

  private:
    FileChoice show(bool save);
    QWidget* parent_;
    std::string filter_;
    std::string last_;
};

// The desktop's clipboard: blocks under the program's own type, with their
// text beside them as plain text.
class QtClipboard : public Clipboard {
  public:
    void put(const ClipContent& content) override;
    ClipContent get() override;
};

class QtMessageBox : public MessageBox {
  public:
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void setparent(QWidget* parent) { parent_ = parent; }
    Answer askyesno(const std::string& prompt, const std::string& title) override;
    int choose(const std::string& prompt, const std::string& title,
               const std::vector<std::string>& buttons) override;

  private:
    QWidget* parent_;
};

// A single-shot QTimer on the window's thread. Starting it again while it
// waits only moves its deadline, which costs a reading of the clock rather
// than a new timer at every keystroke; when the old time comes, it waits on
// for the rest.
class QtTimer : public Timer {
  public:
    QtTimer();
    void start(int milliseconds, std::function<void()> task) override;
    void stop() override;

  private:
    void due();
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 deadline_ = 0;
    std::function<void()> task_;
};

// Where this user's recovery copies live: the application's data folder
// (made when missing); empty when there is no such folder.
std::string recoveryfolder();

// "Cairnwork(*.QRD)|*.QRD" as a Qt name filter whose pattern matches the
// extension in any case: "Cairnwork(*.QRD) (*.[Qq][Rr][Dd])".
std::string qtnamefilter(const std::string& filter);

} // namespace qs::ui
