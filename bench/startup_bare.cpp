// The start-up floor: a bare Qt Widgets window of the main window's size that quits at its
// first paint. Links Qt Widgets and nothing of the program. With --text the window is a label
// showing one line, which also loads the font stack any window with text needs.

#include "firstpaintexit.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

#include <cstring>
#include <memory>

namespace {
// The main window's outer size on the offscreen platform: the pad under the menu bar.
constexpr int kWidth = 387;
constexpr int kHeight = 278 + 19;
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool withText = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    const std::unique_ptr<QWidget> window =
        withText ? std::make_unique<QLabel>(QStringLiteral("Day 65 - Week 10"))
                 : std::make_unique<QWidget>();
    window->setFixedSize(kWidth, kHeight);
    ruvobench::FirstPaintExit exitAtFirstPaint(window.get());
    if (const QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() - window->frameGeometry().center());
    window->show();
    return app.exec();
}
