#include "platform/settingsfile.h"

#include "calendar/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;

namespace {

const QString kSection = QStringLiteral("Propriétés");
const QString kKey = QStringLiteral("apropos");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void readBool_data();
    void readBool();
    void missingFileReadsFalse();
    void firstWriteCreatesTheFile();
    void writeKeepsTheRestOfTheFile();
    void unwritableLocation_data();
    void unwritableLocation();
    void defaultPathFollowsXdgConfigHome();
};

void SettingsFileTest::readBool_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("ticked");

    QTest::newRow("1") << QByteArray("[Propriétés]\napropos=1\n") << true;
    QTest::newRow("0") << QByteArray("[Propriétés]\napropos=0\n") << false;
    QTest::newRow("0x1") << QByteArray("[Propriétés]\napropos=0x1\n") << true;
    QTest::newRow("0X0") << QByteArray("[Propriétés]\napropos=0X0\n") << false;
    QTest::newRow("7") << QByteArray("[Propriétés]\napropos=7\n") << true;
    QTest::newRow("-1") << QByteArray("[Propriétés]\napropos=-1\n") << true;
    QTest::newRow("abc") << QByteArray("[Propriétés]\napropos=abc\n") << false;
    QTest::newRow("0x without digits") << QByteArray("[Propriétés]\napropos=0x\n") << false;
    QTest::newRow("too large") << QByteArray("[Propriétés]\napropos=99999999999\n") << false;
    QTest::newRow("empty value") << QByteArray("[Propriétés]\napropos=\n") << false;
    QTest::newRow("spaces around") << QByteArray("[Propriétés]\n  apropos = 1 \n") << true;
    QTest::newRow("CR LF lines") << QByteArray("[Propriétés]\r\napropos=1\r\n") << true;
    QTest::newRow("key in another section") << QByteArray("[Other]\napropos=1\n") << false;
    QTest::newRow("section name in Latin-1")
        << QByteArray("[Propri\xE9t\xE9s]\napropos=1\n") << false;
    QTest::newRow("binary garbage") << QByteArray("\x00\xFF[\x01\x02=\n\x80", 8) << false;
}

void SettingsFileTest::readBool()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, ticked);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ruvo.ini"));
    write(path, file);
    QCOMPARE(SettingsFile(path).readBool(kSection, kKey, false), ticked);
}

void SettingsFileTest::missingFileReadsFalse()
{
    QTemporaryDir dir;
    QCOMPARE(SettingsFile(dir.filePath(u"none.ini"_qs)).readBool(kSection, kKey, false), false);
    QCOMPARE(SettingsFile(dir.path()).readBool(kSection, kKey, false), false); // a folder
}

void SettingsFileTest::firstWriteCreatesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config/Ruvo.ini"));
    const SettingsFile settings(path);
    settings.writeBool(kSection, kKey, true);
    QCOMPARE(contents(path), QByteArray("[Propriétés]\napropos=1\n"));
    QVERIFY(settings.readBool(kSection, kKey, false));
    settings.writeBool(kSection, kKey, false);
    QCOMPARE(contents(path), QByteArray("[Propriétés]\napropos=0\n"));
}

void SettingsFileTest::writeKeepsTheRestOfTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ruvo.ini"));
    write(path, "; kept\n[Fenêtre]\nleft=10\n\n[Propriétés]\nautre=x\napropos=7\n");
    SettingsFile(path).writeBool(kSection, kKey, false);
    const QByteArray after = contents(path);
    QVERIFY2(after.contains("; kept"), after.constData());
    QVERIFY(after.contains("[Fenêtre]\nleft=10\n"));
    QVERIFY(after.contains("autre=x\n"));
    QVERIFY(after.contains("apropos=0\n"));
    QVERIFY(!after.contains("apropos=7"));
}

void SettingsFileTest::unwritableLocation_data()
{
    QTest::addColumn<bool>("folderInPlace");
    QTest::newRow("a folder where the file should be") << true;
    QTest::newRow("a file where the folder should be") << false;
}

void SettingsFileTest::unwritableLocation()
{
    QFETCH(bool, folderInPlace);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Ruvo.ini"));
    if (folderInPlace) {
        QVERIFY(QDir().mkdir(path));
    } else {
        write(dir.filePath(QStringLiteral("blocker")), "x");
        path = dir.filePath(QStringLiteral("blocker/Ruvo.ini"));
    }
    try {
        SettingsFile(path).writeBool(kSection, kKey, true);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(), u"Ne peut écrire dans " + path);
    }
}

void SettingsFileTest::defaultPathFollowsXdgConfigHome()
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    const QString path = SettingsFile::defaultPath();
    qputenv("XDG_CONFIG_HOME", saved);
    QCOMPARE(path, dir.path() + u"/Ruvo.ini");
}

int runSettingsFileTests(int argc, char **argv)
{
    SettingsFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsfile.moc"
