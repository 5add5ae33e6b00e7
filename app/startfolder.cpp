// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "startfolder.h"

#include "notesexportcommand.h"
#include "ruvoapplication.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace ruvo {

QString NotesFolder()
{
    const QString named = qEnvironmentVariable("RUVO_HOME");
    return named.isEmpty() ? QDir::home().filePath(QStringLiteral("Ruvo")) : named;
}

std::optional<int> AnswerWithoutWindow(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version" || argument == "--export" ||
            argument.startsWith("--export=")) {
            const QCoreApplication core(argc, argv);
            QCoreApplication::setApplicationName(RuvoApplication::programName());
            QCoreApplication::setApplicationVersion(RuvoApplication::programVersion());
            // --help and --version print and end here.
            const CommandLine commandLine = ReadCommandLine(QCoreApplication::arguments());
            if (commandLine.exportFile)
                return ExportFromCommandLine(commandLine.folder, *commandLine.exportFile);
            return std::nullopt; // "--export" was the value of another option
        }
    }
    return std::nullopt;
}

CommandLine ReadCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A tear-off daily calendar: a page for each day, with notes and hours."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption folderOption(
        QStringLiteral("folder"),
        QStringLiteral("Keep the day files in <folder> (created if need be)."),
        QStringLiteral("folder"));
    const QCommandLineOption notesFolderOption(
        QStringLiteral("notes-folder"),
        QStringLiteral("Keep the day files in the notes folder: $RUVO_HOME, else ~/Ruvo."));
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        QStringLiteral("Write the notes of every day of the folder to <file>, an iCalendar file "
                       "(.ics) or a Markdown document (.md), and end without opening a window."),
        QStringLiteral("file"));
    parser.addOption(folderOption);
    parser.addOption(notesFolderOption);
    parser.addOption(exportOption);
    parser.process(arguments);

    QString folder = QDir::currentPath();
    if (parser.isSet(folderOption))
        folder = parser.value(folderOption);
    else if (parser.isSet(notesFolderOption))
        folder = NotesFolder();
    // An export reads a folder and never makes one: a mistyped name would give an empty export.
    if (parser.isSet(exportOption) && !QFileInfo(folder).isDir()) {
        std::fprintf(stderr, "Ruvo : le dossier %s n'existe pas\n",
                     QFile::encodeName(folder).constData());
        std::exit(1);
    }
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "Ruvo : ne peut créer le dossier %s\n",
                     QFile::encodeName(folder).constData());
        std::exit(1);
    }
    CommandLine commandLine{QDir(folder).absolutePath(), std::nullopt};
    if (parser.isSet(exportOption))
        commandLine.exportFile = parser.value(exportOption);
    return commandLine;
}

QString StartFolderFromCommandLine(const QStringList &arguments)
{
    return ReadCommandLine(arguments).folder;
}

} // namespace ruvo
