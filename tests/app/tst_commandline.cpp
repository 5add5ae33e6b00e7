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
};

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
}

void CommandLineTest::helpAndVersionPrintAndEnd()
{
    QFETCH(QString, option);
    QFETCH(QString, printed);
    // Without a display, as in a terminal over ssh: no window system is reached.
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(RUVO_PROGRAM), {option});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(program.readAllStandardOutput().contains(printed.toUtf8()), qPrintable(printed));
}

RUVO_TEST_MAIN(CommandLineTest)

#include "tst_commandline.moc"
