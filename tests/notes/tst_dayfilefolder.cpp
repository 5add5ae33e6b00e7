// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "filebytes.h"

#include "notes/dayfilefolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;
using ruvo::testing::writeBytes;

class DayFileFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void dateOfStem_data();
    void dateOfStem();
    void listing_newestFirst_onlyDayFiles();
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
