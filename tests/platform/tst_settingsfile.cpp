// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "errorof.h"
#include "fullfilesystem.h"

#include "platform/settingsfile.h"

#include "calendar/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace ruvo;
using ruvo::testing::errorOf;
using ruvo::testing::FullFileSystem;

namespace {

const QString kSection = QStringLiteral("Propriétés");
const QString kKey = QStringLiteral("apropos");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A literal with the NUL bytes in it.
template<qsizetype N> QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, N - 1);
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
    void writeChangesOnlyTheKeysLines_data();
    void writeChangesOnlyTheKeysLines();
    void removeKeyTakesOnlyItsLines_data();
    void removeKeyTakesOnlyItsLines();
    void namesThatWouldNotReadBack_data();
    void namesThatWouldNotReadBack();
    void unwritableLocation_data();
    void unwritableLocation();
    void unreadableFileIsNotReplaced_data();
    void unreadableFileIsNotReplaced();
    void fullFileSystem_oldFileStays();
    void brokenFile_otherLinesKept_data();
    void brokenFile_otherLinesKept();
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
    QTest::newRow("Windows-1252, as the first platform wrote it")
        << QByteArray("[Propri\xE9t\xE9s]\r\napropos=1\r\n") << true;
    QTest::newRow("binary garbage") << QByteArray("\x00\xFF[\x01\x02=\n\x80", 8) << false;
    QTest::newRow("last of two keys")
        << QByteArray("[Propriétés]\napropos=1\napropos=0\n") << false;
    QTest::newRow("last of a section written twice")
        << QByteArray("[Propriétés]\napropos=0\n[Other]\n[Propriétés]\napropos=1\n") << true;
    QTest::newRow("ASCII letters in either case")
        << QByteArray("[PROPRIéTéS]\nAPROPOS=1\n") << true;
    QTest::newRow("non-ASCII letters in another case")
        << QByteArray("[PROPRIÉTÉS]\napropos=1\n") << false;
    QTest::newRow("commented out")
        << QByteArray("[Propriétés]\n;apropos=1\n # apropos=1\n") << false;
    QTest::newRow("unterminated [ starts no section")
        << QByteArray("[Propriétés]\n[Other\napropos=1\n") << true;
    QTest::newRow("CR lines") << QByteArray("[Propriétés]\rapropos=1\r") << true;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Propriétés]\napropos=1") << true;
    QTest::newRow("NUL bytes around") << raw("\0\0\n[Propriétés]\napropos=1\n\0=\n") << true;
    QTest::newRow("over 1 MiB") << QByteArray("[Propriétés]\napropos=1\n;" +
                                              QByteArray(1 << 20, 'x') + "\n")
                                << false;
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

void SettingsFileTest::writeChangesOnlyTheKeysLines_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // once apropos is ticked

    const QByteArray garbage = raw("\x00\xFF\x01\n\x80[\x00=\x00\r\xFE\n");
    QTest::newRow("binary garbage with NULs") << garbage + "[Propriétés]\napropos=0\n" + garbage
                                              << garbage + "[Propriétés]\napropos=1\n" + garbage;
    QTest::newRow("a line without =") << QByteArray("[Propriétés]\nune ligne\napropos=0\n")
                                      << QByteArray("[Propriétés]\nune ligne\napropos=1\n");
    QTest::newRow("duplicate key, spelt as in the file")
        << QByteArray("[Propriétés]\napropos=0\nautre=x\n  APROPOS = 0 \n")
        << QByteArray("[Propriétés]\napropos=1\nautre=x\nAPROPOS=1\n");
    QTest::newRow("section written twice")
        << QByteArray("[Propriétés]\napropos=0\n[Fenêtre]\napropos=0\n[propriétés]\napropos=0\n")
        << QByteArray("[Propriétés]\napropos=1\n[Fenêtre]\napropos=0\n[propriétés]\napropos=1\n");
    QTest::newRow("unterminated [ inside the section")
        << QByteArray("[Propriétés]\n[Fenêtre\napropos=0\n")
        << QByteArray("[Propriétés]\n[Fenêtre\napropos=1\n");
    QTest::newRow("unterminated [ is not the section")
        << QByteArray("[Propriétés\napropos=0\n")
        << QByteArray("[Propriétés\napropos=0\n[Propriétés]\napropos=1\n");
    QTest::newRow("CR LF") << QByteArray("[Fenêtre]\r\nx=1\r\n[Propriétés]\r\napropos=0\r\n")
                           << QByteArray("[Fenêtre]\r\nx=1\r\n[Propriétés]\r\napropos=1\r\n");
    QTest::newRow("CR") << QByteArray("[Propriétés]\rapropos=0\rautre=x\r")
                        << QByteArray("[Propriétés]\rapropos=1\rautre=x\r");
    QTest::newRow("mixed line ends") << QByteArray("[Propriétés]\r\napropos=0\rautre=x\n")
                                     << QByteArray("[Propriétés]\r\napropos=1\rautre=x\n");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Propriétés]\napropos=0\n")
                                     << QByteArray("\xEF\xBB\xBF[Propriétés]\napropos=1\n");
    QTest::newRow("no final line break")
        << QByteArray("[Propriétés]\napropos=0") << QByteArray("[Propriétés]\napropos=1");
    QTest::newRow("comments and blank lines")
        << QByteArray("; tête\n\n[Propriétés]\n# apropos=0\n\n\tapropos=0\n\n; fin\n")
        << QByteArray("; tête\n\n[Propriétés]\n# apropos=0\n\napropos=1\n\n; fin\n");
    QTest::newRow("key absent: after the section's last line")
        << QByteArray("[Propriétés]\nautre=x\n\n; Fenêtre\n\n[Fenêtre]\nx=1\n")
        << QByteArray("[Propriétés]\nautre=x\n\n; Fenêtre\napropos=1\n\n[Fenêtre]\nx=1\n");
    QTest::newRow("key absent: in the section's last occurrence")
        << QByteArray("[Propriétés]\nautre=x\n[Fenêtre]\n[Propriétés]\ny=2\n[Fenêtre]\n")
        << QByteArray(
               "[Propriétés]\nautre=x\n[Fenêtre]\n[Propriétés]\ny=2\napropos=1\n[Fenêtre]\n");
    QTest::newRow("key absent: the file's own line end")
        << QByteArray("[Propriétés]\r\nautre=x\r\n[Fenêtre]\nx=1\r\n")
        << QByteArray("[Propriétés]\r\nautre=x\r\napropos=1\r\n[Fenêtre]\nx=1\r\n");
    QTest::newRow("key absent: CR before a blank LF line")
        << QByteArray("[Propriétés]\rx=1\n\n[Fenêtre]\ry=2\r")
        << QByteArray("[Propriétés]\rx=1\napropos=1\r\n\n[Fenêtre]\ry=2\r");
    QTest::newRow("key absent: no final line break")
        << QByteArray("[Propriétés]\nautre=x") << QByteArray("[Propriétés]\nautre=x\napropos=1");
    QTest::newRow("section absent")
        << QByteArray("[Fenêtre]\napropos=0\n")
        << QByteArray("[Fenêtre]\napropos=0\n[Propriétés]\napropos=1\n");
    QTest::newRow("section absent: no final line break")
        << QByteArray("[Fenêtre]\r\nx=1")
        << QByteArray("[Fenêtre]\r\nx=1\r\n[Propriétés]\r\napropos=1\r\n");
    QTest::newRow("Windows-1252: its own encoding and line ends")
        << QByteArray("[Propri\xE9t\xE9s]\r\napropos=0\r\n; \xE9t\xE9\r\n")
        << QByteArray("[Propri\xE9t\xE9s]\r\napropos=1\r\n; \xE9t\xE9\r\n");
    QTest::newRow("Windows-1252, key absent")
        << QByteArray("[Propri\xE9t\xE9s]\r\nx=1\r\n")
        << QByteArray("[Propri\xE9t\xE9s]\r\nx=1\r\napropos=1\r\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[Propriétés]\napropos=1\n");
    const QByteArray large = "\n[Image]\ndonnees=" + QByteArray(2 << 20, 'A') + "\n";
    QTest::newRow("over 1 MiB") << "[Propriétés]\napropos=0" + large
                                << "[Propriétés]\napropos=1" + large;
}

void SettingsFileTest::writeChangesOnlyTheKeysLines()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ruvo.ini"));
    write(path, before);
    const SettingsFile settings(path);
    settings.writeBool(kSection, kKey, true);
    QCOMPARE(contents(path), after);
    // A file over 1 MiB reads as absent.
    QCOMPARE(settings.readBool(kSection, kKey, false), after.size() <= 1 << 20);
}

void SettingsFileTest::removeKeyTakesOnlyItsLines_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("every line of the key, in every occurrence of the section")
        << QByteArray("[Propriétés]\r\napropos=1\r\nautre=x\r\n[Fenêtre]\napropos=1\n"
                      "[propriétés]\n APROPOS = 0")
        << QByteArray("[Propriétés]\r\nautre=x\r\n[Fenêtre]\napropos=1\n[propriétés]\n");
    QTest::newRow("Windows-1252") << QByteArray(
                                         "[Propri\xE9t\xE9s]\r\napropos=1\r\n; \xE9t\xE9\r\n")
                                  << QByteArray("[Propri\xE9t\xE9s]\r\n; \xE9t\xE9\r\n");
    QTest::newRow("no such key: the file stays")
        << QByteArray("[Fenêtre]\napropos=1") << QByteArray("[Fenêtre]\napropos=1");
}

void SettingsFileTest::removeKeyTakesOnlyItsLines()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ruvo.ini"));
    write(path, before);
    SettingsFile(path).removeKey(kSection, kKey);
    QCOMPARE(contents(path), after);
}

void SettingsFileTest::namesThatWouldNotReadBack_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("] in the section") << u"a]b"_qs << kKey << u"1"_qs;
    QTest::newRow("blank around the section") << u" a"_qs << kKey << u"1"_qs;
    QTest::newRow("= in the key") << kSection << u"a=b"_qs << u"1"_qs;
    QTest::newRow("empty key") << kSection << QString() << u"1"_qs;
    QTest::newRow("key like a comment") << kSection << u";a"_qs << u"1"_qs;
    QTest::newRow("line break in the value") << kSection << kKey << u"1\n[x]"_qs;
    QTest::newRow("CR in the key") << kSection << u"a\rb"_qs << u"1"_qs;
}

// Such a line would stay in the file as something else; the write is refused instead.
void SettingsFileTest::namesThatWouldNotReadBack()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ruvo.ini"));
    const QByteArray before("[Propriétés]\napropos=0\n");
    write(path, before);
    try {
        SettingsFile(path).writeString(section, key, value);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(), u"Ne peut écrire dans " + path);
    }
    QCOMPARE(contents(path), before);
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
    QCOMPARE(QFileInfo(path).isDir(), folderInPlace);
}

void SettingsFileTest::unreadableFileIsNotReplaced_data()
{
    QTest::addColumn<bool>("pipe");
    // Reading the process's memory from its start fails with an input/output error; unlike
    // permissions, this holds for root too.
    QTest::newRow("read error") << false;
    // Reading would wait for a writer for ever.
    QTest::newRow("a pipe") << true;
}

// A file that cannot be read whole is not replaced: what it holds would be lost.
void SettingsFileTest::unreadableFileIsNotReplaced()
{
    QFETCH(bool, pipe);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ruvo.ini"));
    if (pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(u"/proc/self/mem"_qs, path));
    const SettingsFile settings(path);
    QCOMPARE(settings.readBool(kSection, kKey, true), true);
    try {
        settings.writeBool(kSection, kKey, true);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(), u"Ne peut écrire dans " + path);
    }
    const QFileInfo info(path);
    QVERIFY(pipe ? info.exists() && !info.isFile()
                 : info.symLinkTarget() == QStringLiteral("/proc/self/mem"));
}

void SettingsFileTest::fullFileSystem_oldFileStays()
{
    FullFileSystem disk;
    RUVO_REQUIRE_FULL_FILE_SYSTEM(disk);
    const QString path = disk.filePath(u"Ruvo.ini"_qs);
    const QByteArray old = "; written by hand\n[Fenêtre]\nx=1\n[Propriétés]\napropos=0\n";
    write(path, old);
    QVERIFY(disk.fill());
    const SettingsFile settings(path);
    QCOMPARE(errorOf([&] { settings.writeBool(kSection, kKey, true); }),
             u"Ne peut écrire dans " + path);
    QCOMPARE(contents(path), old);
    disk.release();
    settings.writeBool(kSection, kKey, true);
    QVERIFY(settings.readBool(kSection, kKey, false));
}

void SettingsFileTest::brokenFile_otherLinesKept_data()
{
    QTest::addColumn<QByteArray>("file");

    QByteArray garbage(4096, '\0');
    QRandomGenerator random(1998);
    for (char &byte : garbage)
        byte = char(random.bounded(256));
    garbage[100] = '\0';
    QTest::newRow("binary garbage") << garbage;
    QTest::newRow("text after a NUL byte")
        << QByteArray("[Fenêtre]\nx=1\n") + '\0' + "[Propriétés]\napropos=0\n";
    QTest::newRow("lines that are not settings")
        << QByteArray("[Fenêtre]\nune ligne sans signe égal\nx=1\n");
    QTest::newRow("a section written twice")
        << QByteArray("[Fenêtre]\nx=1\n[Autre]\nz=3\n[Fenêtre]\ny=2\n");
    QTest::newRow("20 MB") << QByteArray(
        "[Propriétés]\napropos=0\n[Image]\ndonnees=" + QByteArray(20 << 20, 'A') + "\n");
}

// Reading a broken settings file never fails; writing the one value keeps every other line of
// it as it stands, so no file can make the close fail for good.
void SettingsFileTest::brokenFile_otherLinesKept()
{
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Ruvo.ini"_qs);
    write(path, file);
    const SettingsFile settings(path);
    QCOMPARE(settings.readBool(kSection, kKey, false), false);

    QCOMPARE(errorOf([&] { settings.writeBool(kSection, kKey, true); }), QString());
    const QByteArray after = contents(path);
    for (const QByteArray &line : file.split('\n')) {
        if (!line.startsWith("apropos="))
            QVERIFY2(after.contains(line), line.left(40).constData());
    }
    if (file.size() < (1 << 20)) // a larger file is no settings file of ours and reads as none
        QVERIFY(settings.readBool(kSection, kKey, false));
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

QTEST_GUILESS_MAIN(SettingsFileTest)

#include "tst_settingsfile.moc"
