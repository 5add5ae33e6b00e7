// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up floors: Qt Widgets windows of the main window's size that quit at their first
// paint, linking Qt Widgets and nothing of the program.
//   (no option)  a bare window;
//   --text       a label showing one line, which also loads the font stack any window with
//                text needs;
//   --widgets    the kinds of child widgets the program's window is made of (a menu bar with
//                its two entries, a plain-text editor and 17 one-line fields, placed as on the
//                page) with nothing drawn of its own: what the page adds is the rest.

#include "firstpaintexit.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWidget>

#include <cstring>
#include <memory>

namespace {
// The main window's outer size on the offscreen platform: the page under the menu bar.
constexpr int kPageWidth = 387;
constexpr int kPageHeight = 278;
constexpr int kMenuHeight = 19;
constexpr int kFields = 17;

std::unique_ptr<QWidget> windowWithTheProgramsWidgets(QWidget *&page)
{
    auto window = std::make_unique<QMainWindow>();
    window->menuBar()->addAction(QStringLiteral("&Quitter"));
    window->menuBar()->addMenu(QStringLiteral("&Aide"))->addAction(QStringLiteral("&A propos"));
    page = new QWidget(window.get());
    page->setFixedSize(kPageWidth, kPageHeight);
    auto *notes = new QPlainTextEdit(page);
    notes->setGeometry(18, 85, 149, 160);
    for (int i = 0; i < kFields; ++i)
        (new QLineEdit(page))->setGeometry(246, 20 + 14 * i, 115, 16);
    window->setCentralWidget(page);
    return window;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const char *option = argc > 1 ? argv[1] : "";
    std::unique_ptr<QWidget> window;
    QWidget *painted = nullptr;
    if (std::strcmp(option, "--widgets") == 0) {
        window = windowWithTheProgramsWidgets(painted);
    } else {
        window = std::strcmp(option, "--text") == 0
                     ? std::make_unique<QLabel>(QStringLiteral("Day 65 - Week 10"))
                     : std::make_unique<QWidget>();
        window->setFixedSize(kPageWidth, kPageHeight + kMenuHeight);
        painted = window.get();
    }
    ruvobench::FirstPaintExit exitAtFirstPaint(painted);
    if (const QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() - window->frameGeometry().center());
    window->show();
    return app.exec();
}
