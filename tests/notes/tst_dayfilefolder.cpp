// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "filebytes.h"

#include "notes/dayfilefolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace ruvo;
using ruvo::testing::writeBytes;

class DayFileFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void dateOfStem_data();
    void dateOfStem();
    void listing_newestFirst_onlyDayFiles();
    void keptListing_seesEveryChange_data();
    void keptListing_seesEveryChange();
    void daysWithText_bySizeAlone();
};

void DayFileFolderTest::dateOfStem_data()
{
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QDate>("nearDay");
    QTest::addColumn<QDate>("date");

    const QDate today(2026, 12, 8);
    QTest::newRow("this year") << "061226" << today << QDate(2026, 12, 6);
    QTest::newRow("last century's end") << "311299" << today << QDate(1999, 12, 31);
    QTest::newRow("next century is nearer") << "010199" << QDate(2096, 6, 1) << QDate(2099, 1, 1);
    QTest::newRow("fifty years on") << "010176" << today << QDate(2076, 1, 1);
    QTest::newRow("fifty years back") << "010177" << today << QDate(1977, 1, 1);
    QTest::newRow("29 February of a century year") << "290200" << today << QDate(2000, 2, 29);
    QTest::newRow("29 February of the nearer leap year") << "290296" << today << QDate(1996, 2, 29);
    QTest::newRow("no 29 February in any century") << "290225" << today << QDate();
    QTest::newRow("no such month") << "011326" << today << QDate();
    QTest::newRow("day 0") << "000126" << today << QDate();
    QTest::newRow("not digits") << "0612a6" << today << QDate();
}

void DayFileFolderTest::dateOfStem()
{
    QFETCH(QString, stem);
    QFETCH(QDate, nearDay);
    QFETCH(QDate, date);
    QCOMPARE(DateOfStem(stem, nearDay), date);
}

void DayFileFolderTest::listing_newestFirst_onlyDayFiles()
{
    QTemporaryDir dir;
    for (const char *name : {"061226N.ruv", "061226T.ruv", "311299T.ruv", "010127N.ruv",
                             "061226N-autre-20261208-093012.ruv", "061226n.ruv", "061226N.000",
                             "991326N.ruv", "notes.txt"})
        writeBytes(dir.filePath(QString::fromLatin1(name)), "x");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("071226N.ruv")));

    QStringList found;
    for (const DayFileEntry &entry :
         ListDayFiles(dir.path(), QStringLiteral("ruv"), QDate(2026, 12, 8)))
        found << entry.date.toString(Qt::ISODate) + u' ' + QChar(char16_t(entry.kind)) + u' ' +
                     QFileInfo(entry.path).fileName();
    QCOMPARE(found, QStringList({QStringLiteral("2027-01-01 N 010127N.ruv"),
                                 QStringLiteral("2026-12-06 N 061226N.ruv"),
                                 QStringLiteral("2026-12-06 T 061226T.ruv"),
                                 QStringLiteral("1999-12-31 T 311299T.ruv")}));
}

void DayFileFolderTest::keptListing_seesEveryChange_data()
{
    QTest::addColumn<bool>("settled"); // the folder's last change long past, or just now
    QTest::addColumn<bool>("adding");
    QTest::newRow("settled, a day added") << true << true;
    QTest::newRow("settled, a day removed") << true << false;
    QTest::newRow("just changed, a day added") << false << true;
    QTest::newRow("just changed, a day removed") << false << false;
}

void DayFileFolderTest::keptListing_seesEveryChange()
{
    QFETCH(bool, settled);
    QFETCH(bool, adding);
    QTemporaryDir dir;
    for (const char *name : {"061226N.ruv", "051226N.ruv"})
        writeBytes(dir.filePath(QString::fromLatin1(name)), "x");
    // A file system that stamps whole seconds gives a change within the same second the same
    // time: the folder's time is set as it would, before the listing and again after the change.
    const QByteArray folder = QFile::encodeName(dir.path());
    const time_t stamp = time(nullptr) - (settled ? 3600 : 0);
    const timespec times[2] = {{stamp, 0}, {stamp, 0}};
    QCOMPARE(utimensat(AT_FDCWD, folder.constData(), times, 0), 0);
    DayFileListing listing;
    const auto dates = [&] {
        QList<QDate> found;
        listing.forEachNewestFirst(dir.path(), QStringLiteral("ruv"), QDate(2026, 12, 8),
                                   [&found](const DayFileEntry &entry) {
                                       found << entry.date;
                                       return true;
                                   });
        return found;
    };
    QCOMPARE(dates(), (QList<QDate>{QDate(2026, 12, 6), QDate(2026, 12, 5)}));
    if (adding)
        writeBytes(dir.filePath(QStringLiteral("071226N.ruv")), "x");
    else
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("061226N.ruv"))));
    if (!settled)
        QCOMPARE(utimensat(AT_FDCWD, folder.constData(), times, 0), 0);
    const QList<QDate> after =
        adding ? QList<QDate>{QDate(2026, 12, 7), QDate(2026, 12, 6), QDate(2026, 12, 5)}
               : QList<QDate>{QDate(2026, 12, 5)};
    QCOMPARE(dates(), after);
}

void DayFileFolderTest::daysWithText_bySizeAlone()
{
    QTemporaryDir dir;
    const auto write = [&](const char *name, const QByteArray &bytes) {
        writeBytes(dir.filePath(QString::fromLatin1(name)), bytes);
    };
    const QByteArray emptyRows = QByteArray("\r\n").repeated(17);
    write("011226N.ruv", ""); // an empty page: no mark
    write("011226T.ruv", emptyRows);
    write("021226N.ruv", "a\r\n");         // notes
    write("031226T.ruv", "x" + emptyRows); // an hour entry
    write("041126N.ruv", "other month");
    write("051225N.ruv", "other year");
    write("061226N.000", "other extension");
    write("311226N.ruv", "last day");

    const std::bitset<32> days = DaysWithText(dir.path(), QStringLiteral("ruv"), 2026, 12);
    std::bitset<32> expected;
    expected.set(2).set(3).set(31);
    QCOMPARE(days, expected);
    QCOMPARE(DaysWithText(dir.path(), QStringLiteral("ruv"), 1926, 12),
             expected); // the stem has no century
    QVERIFY(DaysWithText(dir.path() + u"/missing", QStringLiteral("ruv"), 2026, 12).none());
}

QTEST_GUILESS_MAIN(DayFileFolderTest)
#include "tst_dayfilefolder.moc"
