#include "startfolder.h"

#include "ruvoapplication.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace ruvo {

QString NotesFolder()
{
    const QString named = qEnvironmentVariable("RUVO_HOME");
    return named.isEmpty() ? QDir::home().filePath(QStringLiteral("Ruvo")) : named;
}

void AnswerHelpOrVersion(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version") {
            const QCoreApplication core(argc, argv);
            QCoreApplication::setApplicationName(RuvoApplication::programName());
            QCoreApplication::setApplicationVersion(RuvoApplication::programVersion());
            StartFolderFromCommandLine(QCoreApplication::arguments()); // prints and ends
            return;
        }
    }
}

QString StartFolderFromCommandLine(const QStringList &arguments)
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
    parser.addOption(folderOption);
    parser.addOption(notesFolderOption);
    parser.process(arguments);

    QString folder = QDir::currentPath();
    if (parser.isSet(folderOption))
        folder = parser.value(folderOption);
    else if (parser.isSet(notesFolderOption))
        folder = NotesFolder();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "Ruvo : ne peut créer le dossier %s\n",
                     QFile::encodeName(folder).constData());
        std::exit(1);
    }
    return QDir(folder).absolutePath();
}

} // namespace ruvo
