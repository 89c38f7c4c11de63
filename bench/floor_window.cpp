// The floor under the editor's start-up: a bare Qt window of the same size
// with the same number and kinds of widgets, and nothing else. It quits once
// painted, as the editor does with --exit-when-painted.
#include "ui/qt/application.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(572, 479);
    auto* toolbar = new QToolBar(&window);
    for (const char* key : {"New", "Open", "Save", "Copy", "Refresh", "Delete"})
        toolbar->addAction(key);
    for (int i = 0; i < 11; ++i)
        new QLabel("Label", &window);
    for (int i = 0; i < 7; ++i)
        new QLineEdit("0", &window);
    for (int i = 0; i < 17; ++i)
        new QScrollBar(i < 5 ? Qt::Vertical : Qt::Horizontal, &window);
    for (int i = 0; i < 7; ++i)
        new QPushButton("Button", &window);
    new QCheckBox("Check", &window);
    new QSlider(Qt::Horizontal, &window);
    auto* list = new QListWidget(&window);
    list->addItem("     0     0     0     0     0     0    0");
    new QWidget(&window);
    new QWidget(&window);
    auto* status = new QStatusBar(&window);
    for (int i = 0; i < 4; ++i)
        status->addWidget(new QLabel("Panel", status));
    qs::ui::quitwhenpainted(window);
    window.show();
    return QApplication::exec();
}
