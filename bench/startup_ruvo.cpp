// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's start-up as app/main.cpp does it, ending at the first paint of the pad:
// application object, cursors, main window, termination signals, centring, show.

#include "firstpaintexit.h"

#include "app/ruvoapplication.h"
#include "app/startedwindow.h"
#include "pad/tcalendarpad.h"

int main(int argc, char **argv)
{
    ruvo::RuvoApplication app(argc, argv);
    ruvo::StartedWindow window;
    ruvobench::FirstPaintExit exitAtFirstPaint(window.form().CP());
    window.show();
    const int code = app.exec();
    // The size the bare window copies; printed so a change of the menu bar shows up.
    if (qEnvironmentVariableIsSet("RUVO_BENCH_PRINT_SIZE"))
        qInfo("window %dx%d", window.form().width(), window.form().height());
    return code;
}
