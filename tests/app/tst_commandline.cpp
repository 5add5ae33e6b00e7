// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ruvotestmain.h"

#include "filebytes.h"

#include "app/startfolder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;
using ruvo::testing::bytesOf;
using ruvo::testing::writeBytes;

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void startFolder_data();
    void startFolder();
    void helpAndVersionPrintAndEnd_data();
    void helpAndVersionPrintAndEnd();
    void mistakesGiveTheUsage_data();
    void mistakesGiveTheUsage();
    void exportWritesWithoutADisplay_data();
    void exportWritesWithoutADisplay();
};

namespace {

// The program as started in a terminal over ssh: no display, so any use of the window system
// would end it with an error.
void withoutDisplay(QProcess &program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);
}

} // namespace

void CommandLineTest::startFolder_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected"); // under the test's folder; "." is the current one
    QTest::newRow("from a terminal: the current folder") << QStringList() << ".";
    QTest::newRow("--folder names one, made if need be")
        << QStringList{QStringLiteral("--folder"), QStringLiteral("<root>/named/deeper")}
        << "named/deeper";
    QTest::newRow("from the menu: RUVO_HOME")
        << QStringList{QStringLiteral("--notes-folder")} << "home";
}

void CommandLineTest::startFolder()
{
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root.path()));
    qputenv("RUVO_HOME", QFile::encodeName(root.filePath(QStringLiteral("home"))));
    options.replaceInStrings(QStringLiteral("<root>"), root.path());
    const QString folder =
        StartFolderFromCommandLine(QStringList{QStringLiteral("ruvo")} + options);
    qunsetenv("RUVO_HOME");
    QDir::setCurrent(current);
    QCOMPARE(folder, QDir(root.filePath(expected)).absolutePath());
    QVERIFY(QFileInfo(folder).isDir());
}

void CommandLineTest::helpAndVersionPrintAndEnd_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("printed");
    QTest::newRow("--version") << "--version"
                               << "Ruvo 1.0";
    QTest::newRow("--help") << "--help"
                            << "--notes-folder";
    QTest::newRow("--help names the export") << "--help"
                                             << "--export <file>";
    QTest::newRow("--help says where a terminal start works") << "--help"
                                                              << "in the current folder";
}

void CommandLineTest::mistakesGiveTheUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mistake");
    QTest::newRow("an unknown option") << QStringList{u"--bogus"_qs} << "Unknown option 'bogus'.";
    QTest::newRow("a missing value")
        << QStringList{u"--folder"_qs} << "Missing value after '--folder'.";
    QTest::newRow("an argument that is no option")
        << QStringList{u"notes.txt"_qs} << "Unexpected argument 'notes.txt'.";
    QTest::newRow("an unknown way to write the notes")
        << QStringList{u"--export"_qs, u"n.ics"_qs, u"--notes-as"_qs, u"todo"_qs}
        << "Unknown value 'todo' for --notes-as.";
}

// Told without reaching for a display, which a terminal over ssh lacks.
void CommandLineTest::mistakesGiveTheUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mistake);
    QProcess program;
    withoutDisplay(program);
    program.start(QStringLiteral(RUVO_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QByteArray printed = program.readAllStandardError();
    QVERIFY2(printed.startsWith(mistake.toUtf8()), printed.constData());
    QVERIFY2(printed.contains("Usage: "), printed.constData());
}

void CommandLineTest::helpAndVersionPrintAndEnd()
{
    QFETCH(QString, option);
    QFETCH(QString, printed);
    QProcess program;
    withoutDisplay(program);
    program.start(QStringLiteral(RUVO_PROGRAM), {option});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(program.readAllStandardOutput().contains(printed.toUtf8()), qPrintable(printed));
}

void CommandLineTest::exportWritesWithoutADisplay_data()
{
    QTest::addColumn<QString>("folder"); // under the test's folder, where the days are "days"
    QTest::addColumn<bool>("largeDayFile");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("inFile"); // empty: the file is left as it was
    QTest::addColumn<QString>("onError");
    QTest::addColumn<QString>("notesAs"); // empty: not given
    // The main window's pad counts its hours from 07:00.
    QTest::newRow("written") << "days" << false << "notes.md" << 0 << "\n- 07:00 Dentist\n"
                             << ""
                             << "";
    QTest::newRow("the notes as events")
        << "days" << false << "notes.ics" << 0 << "BEGIN:VEVENT\r\nUID:20261208-notes@ruvo"
        << ""
        << "events";
    QTest::newRow("a folder for the file that is not there")
        << "days" << false << "gone/notes.md" << 1 << ""
        << "Ne peut créer le fichier <root>/gone/notes.md"
        << "";
    QTest::newRow("a day file larger than any page: left out and named")
        << "days" << true << "notes.md" << 0 << "\n- 07:00 Dentist\n"
        << "Ne peut ouvrir le fichier <root>/days/091226N.ruv"
        << "";
    QTest::newRow("a mistyped --folder") << "dyas" << false << "notes.md" << 1 << ""
                                         << "le dossier <root>/dyas n'existe pas"
                                         << "";
}

void CommandLineTest::exportWritesWithoutADisplay()
{
    QFETCH(QString, folder);
    QFETCH(bool, largeDayFile);
    QFETCH(QString, target);
    QFETCH(int, exitCode);
    QFETCH(QString, inFile);
    QFETCH(QString, onError);
    QFETCH(QString, notesAs);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir days(root.filePath(QStringLiteral("days")));
    QVERIFY(QDir().mkdir(days.path()));
    writeBytes(days.filePath(QStringLiteral("081226T.ruv")),
               "Dentist" + QByteArray("\r\n").repeated(17));
    writeBytes(days.filePath(QStringLiteral("081226N.ruv")), "Anniversaire\r\n");
    if (largeDayFile)
        writeBytes(days.filePath(QStringLiteral("091226N.ruv")), QByteArray(256 * 1024 + 1, 'x'));
    const QByteArray before("the export of last week\n");
    writeBytes(root.filePath(QStringLiteral("notes.md")), before);

    QProcess program;
    withoutDisplay(program);
    QStringList arguments{QStringLiteral("--folder"), root.filePath(folder),
                          QStringLiteral("--export"), root.filePath(target)};
    if (!notesAs.isEmpty())
        arguments << QStringLiteral("--notes-as") << notesAs;
    program.start(QStringLiteral(RUVO_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QByteArray written = bytesOf(root.filePath(target));
    if (inFile.isEmpty())
        QVERIFY(written == before || written == "<missing>");
    else
        QVERIFY2(written.contains(inFile.toUtf8()), written.constData());
    const QByteArray errors = program.readAllStandardError();
    QVERIFY2(errors.contains(onError.replace(u"<root>"_qs, root.path()).toUtf8()),
             errors.constData());
    QCOMPARE(QFileInfo::exists(root.filePath(folder)), folder == u"days"); // never made
}

RUVO_TEST_MAIN(CommandLineTest)

#include "tst_commandline.moc"
