#include "ruvotestmain.h"

#include "app/startfolder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void startFolder_data();
    void startFolder();
    void helpAndVersionPrintAndEnd_data();
    void helpAndVersionPrintAndEnd();
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
    QTest::addColumn<QString>("target"); // under the test's folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected"); // in the file, or on standard error
    // The main window's pad counts its hours from 07:00.
    QTest::newRow("written") << "notes.md" << 0 << "\n- 07:00 Dentist\n";
    QTest::newRow("a folder that is not there")
        << "gone/notes.md" << 1 << "Ne peut créer le fichier <root>/gone/notes.md";
}

void CommandLineTest::exportWritesWithoutADisplay()
{
    QFETCH(QString, target);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString days = root.filePath(QStringLiteral("days"));
    QVERIFY(QDir().mkdir(days));
    QFile rows(QDir(days).filePath(QStringLiteral("081226T.ruv")));
    QVERIFY(rows.open(QIODevice::WriteOnly));
    rows.write("Dentist" + QByteArray("\r\n").repeated(17));
    rows.close();

    QProcess program;
    withoutDisplay(program);
    program.start(
        QStringLiteral(RUVO_PROGRAM),
        {QStringLiteral("--folder"), days, QStringLiteral("--export"), root.filePath(target)});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    expected.replace(QStringLiteral("<root>"), root.path());
    QFile written(root.filePath(target));
    const QByteArray found = exitCode == 0 && written.open(QIODevice::ReadOnly)
                                 ? written.readAll()
                                 : program.readAllStandardError();
    QVERIFY2(found.contains(expected.toUtf8()), found.constData());
}

RUVO_TEST_MAIN(CommandLineTest)

#include "tst_commandline.moc"
