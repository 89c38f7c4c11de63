#include "ui/qt/qtplatform.h"
#include "ui/qt/qstring.h"

#include "formats/clipboard.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace qs::ui {

std::string QtSettings::get(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& fallback) {
    QSettings store(q(app), q(app));
    return store.value(q(section + "/" + key), q(fallback)).toString().toStdString();
}

void QtSettings::set(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) {
    QSettings store(q(app), q(app));
    store.setValue(q(section + "/" + key), q(value));
    store.sync();
}

QtTimer::QtTimer() {
    timer_.setSingleShot(true);
    clock_.start();
    QObject::connect(&timer_, &QTimer::timeout, [this] { due(); });
}

void QtTimer::start(int milliseconds, std::function<void()> task) {
    task_ = std::move(task);
    deadline_ = clock_.elapsed() + milliseconds;
    if (!timer_.isActive()) timer_.start(milliseconds);
}

void QtTimer::stop() {
    timer_.stop();
    task_ = nullptr;
}

void QtTimer::due() {
    const qint64 left = deadline_ - clock_.elapsed();
    if (left > 0) {
        timer_.start(static_cast<int>(left));
        return;
    }
    auto task = std::move(task_);
    task_ = nullptr;
    if (task) task();
}

std::string recoveryfolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
    return folder.toStdString();
}

std::string qtnamefilter(const std::string& filter) {
    const auto bar = filter.find('|');
    if (bar == std::string::npos) return filter;
    const std::string description = filter.substr(0, bar);
    std::string pattern;
    for (char c : filter.substr(bar + 1)) {
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (lower != upper)
            pattern += std::string("[") + upper + lower + "]";
        else
            pattern += c;
    }
    return description + " (" + pattern + ")";
}

FileChoice QtFileDialog::showopen() {
    return show(false);
}
FileChoice QtFileDialog::showsave() {
    return show(true);
}

FileChoice QtFileDialog::show(bool save) {
    QFileDialog dialog(parent_);
    dialog.setObjectName(save ? "dlgCommonDialogSave" : "dlgCommonDialogOpen");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(q(qtnamefilter(filter_)));
    if (!last_.empty()) dialog.setDirectory(QFileInfo(q(last_)).absolutePath());
    if (save) {
        if (!last_.empty()) dialog.selectFile(QFileInfo(q(last_)).fileName());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("QRD");
        dialog.setWindowTitle("Save As");
    } else {
        // A name that names no file yet opens as a new, empty map.
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setWindowTitle("Open");
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString name = dialog.selectedFiles().constFirst();
    return {name.toStdString(), QFileInfo(name).fileName().toStdString()};
}

FileChoice QtFileDialog::showexport(const std::string& suggested) {
    QFileDialog dialog(parent_);
    dialog.setObjectName("dlgExport");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setWindowTitle("Export");
    // Each kind's ending is added to a name typed without one.
    const QStringList filters{"glTF binary (*.glb)", "glTF (*.gltf)", "OBJ with its MTL (*.obj)"};
    const QStringList endings{"glb", "gltf", "obj"};
    dialog.setNameFilters(filters);
    const QFileInfo start(q(suggested));
    const auto kind = endings.indexOf(start.suffix().toLower());
    dialog.selectNameFilter(filters[kind < 0 ? 0 : kind]);
    dialog.setDefaultSuffix(endings[kind < 0 ? 0 : kind]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(endings[std::max<qsizetype>(0, filters.indexOf(filter))]);
    });
    if (!suggested.empty()) {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString name = dialog.selectedFiles().constFirst();
    return {name.toStdString(), QFileInfo(name).fileName().toStdString()};
}

void QtClipboard::put(const ClipContent& content) {
    auto* data = new QMimeData;
    data->setData(formats::kBlocksMime,
                  QByteArray(content.blocks.data(), static_cast<qsizetype>(content.blocks.size())));
    data->setText(q(content.text));
    QGuiApplication::clipboard()->setMimeData(data);
}

ClipContent QtClipboard::get() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return {};
    const QByteArray blocks = data->data(formats::kBlocksMime);
    return {blocks.toStdString(), data->text().toStdString()};
}

Answer QtMessageBox::askyesno(const std::string& prompt, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, q(title), q(prompt), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setObjectName("Question");
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

int QtMessageBox::choose(const std::string& prompt, const std::string& title,
                         const std::vector<std::string>& buttons) {
    QMessageBox box(QMessageBox::Question, q(title), q(prompt), QMessageBox::NoButton, parent_);
    box.setObjectName("Question");
    std::vector<QAbstractButton*> added;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const auto role = i == 0                    ? QMessageBox::AcceptRole
                          : i + 1 == buttons.size() ? QMessageBox::RejectRole
                                                    : QMessageBox::DestructiveRole;
        added.push_back(box.addButton(q(buttons[i]), role));
    }
    if (!added.empty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
        box.setEscapeButton(added.back());
    }
    box.exec();
    const auto chosen = std::find(added.begin(), added.end(), box.clickedButton());
    return chosen == added.end() ? static_cast<int>(buttons.size()) - 1
                                 : static_cast<int>(chosen - added.begin());
}

} // namespace qs::ui
