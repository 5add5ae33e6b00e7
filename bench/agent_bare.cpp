// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The floor of the reminders agent's idle figures: a bare QCoreApplication that waits on one
// timer, an hour away.

#include <QCoreApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    QTimer::singleShot(3600 * 1000, &app, &QCoreApplication::quit);
    return QCoreApplication::exec();
}
