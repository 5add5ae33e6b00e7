// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exitrescue.h"
#include "instancelock.h"
#include "runningcopy.h"
#include "ruvoapplication.h"
#include "startedwindow.h"
#include "startfolder.h"
#include "tform1.h"

#include "pad/tcalendarpad.h"

#include <QDir>
#include <QMessageBox>

#include <cstdio>
#include <optional>

int main(int argc, char **argv)
{
    if (const std::optional<int> exitCode = ruvo::AnswerWithoutWindow(argc, argv))
        return *exitCode;
    ruvo::RuvoApplication app(argc, argv);
    // The day files and the page sound and help put beside them live in the current folder.
    const ruvo::CommandLine commandLine = ruvo::ReadCommandLine(QCoreApplication::arguments());
    QDir::setCurrent(commandLine.folder);

    // Before the window exists: a second copy in the same folder would save over the notes of
    // the first.
    ruvo::InstanceLock instanceLock(QDir::currentPath());
    if (!instanceLock.acquire()) {
        // The running copy comes to the front; the message is for a copy that cannot be reached.
        if (ruvo::RunningCopy::bringToFront(QDir::currentPath(),
                                            commandLine.today ? ruvo::RunningCopy::Page::Today
                                                              : ruvo::RunningCopy::Page::AsItIs))
            return 0;
        std::fprintf(stderr, "%s\n", instanceLock.refusalMessage().toLocal8Bit().constData());
        QMessageBox::warning(nullptr, ruvo::RuvoApplication::programName(),
                             instanceLock.refusalMessage());
        return 1;
    }

    ruvo::StartedWindow window;
    const ruvo::RunningCopy runningCopy(QDir::currentPath(), &window.form());
    QObject::connect(&runningCopy, &ruvo::RunningCopy::todayAsked, window.form().CP(),
                     &ruvo::TCalendarPad::GoToToday);
    window.show();
    // Registered after everything the window has made at its start, so that exit() runs the
    // hook before it destroys any of that.
    const ruvo::ExitRescue exitRescue(window.form());
    return app.exec();
}
