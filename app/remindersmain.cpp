// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reminders agent, `ruvo --reminders`: a program of its own, so that a process that lives
// the whole session loads neither Qt Widgets nor Qt Gui.

#include "remindersagent.h"

#include "notes/reminders.h"
#include "platform/runtimefolder.h"
#include "platform/settingsfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <cstdio>

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Ruvo"));
    QCommandLineParser parser;
    const QCommandLineOption folderOption(QStringLiteral("folder"), QString(),
                                          QStringLiteral("folder"));
    const QCommandLineOption programOption(QStringLiteral("program"), QString(),
                                           QStringLiteral("program"));
    parser.addOptions({folderOption, programOption});
    const auto fail = [](const QString &message) {
        std::fprintf(stderr, "Ruvo : %s\n", qPrintable(message));
        return 1;
    };
    if (!parser.parse(QCoreApplication::arguments()) || !parser.isSet(folderOption))
        return fail(QStringLiteral("usage : ruvo --reminders [--folder DOSSIER | --notes-folder]"));
    const QString folder = QDir(parser.value(folderOption)).absolutePath();
    if (!QFileInfo(folder).isDir())
        return fail(u"le dossier " + folder + u" n'existe pas");

    // One agent per notes folder: a second would show everything twice.
    const QString lockPath = ruvo::RuntimeFileFor(folder, u".reminders.lock");
    QLockFile lock(lockPath);
    if (!lockPath.isEmpty() && !lock.tryLock(0)) {
        std::fprintf(stderr, "Ruvo : les rappels du dossier %s sont déjà en route\n",
                     qPrintable(folder));
        return 0;
    }
    const QString settings = ruvo::SettingsFile::defaultPath();
    if (!ruvo::ReminderLead(settings)) {
        std::fprintf(stderr, "Ruvo : les rappels sont désactivés (%s)\n", qPrintable(settings));
        return 0;
    }
    if (!QDBusConnection::sessionBus().isConnected())
        return fail(QStringLiteral("pas de bus de session : les rappels ne peuvent être montrés"));

    ruvo::RemindersAgent agent(folder, settings, parser.value(programOption));
    QObject::connect(&agent, &ruvo::RemindersAgent::turnedOff, &app, &QCoreApplication::quit);
    agent.start();
    return QCoreApplication::exec();
}
