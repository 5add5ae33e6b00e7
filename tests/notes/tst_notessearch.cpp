// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "filebytes.h"

#include "notes/notessearch.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;
using ruvo::testing::writeBytes;

namespace {

const QDate kToday(2026, 12, 8);
const QString kExtension = QStringLiteral("ruv");

// A hit as one line of text: "2026-12-06 N 2 5+4 <the line>".
QString describe(const SearchHit &hit)
{
    return QStringLiteral("%1 %2 %3 %4+%5 %6")
        .arg(hit.date.toString(Qt::ISODate), QChar(char16_t(hit.kind)))
        .arg(hit.line)
        .arg(hit.column)
        .arg(hit.length)
        .arg(hit.text);
}

// Runs a search to its end and returns what arrived, in order.
QStringList searchFolder(NotesSearch &search, const QString &folder, const QString &query)
{
    QStringList found;
    const QMetaObject::Connection taking =
        QObject::connect(&search, &NotesSearch::hitsFound, [&](const QList<SearchHit> &hits) {
            for (const SearchHit &hit : hits)
                found << describe(hit);
        });
    QSignalSpy finished(&search, &NotesSearch::finished);
    if (search.start(folder, kExtension, query, kToday) && !finished.wait(10000))
        found << QStringLiteral("<no end>");
    QObject::disconnect(taking);
    return found;
}

QByteArray rows(const QList<QByteArray> &filled)
{
    QByteArray bytes;
    for (int row = 0; row < 17; ++row)
        bytes += filled.value(row) + "\r\n";
    return bytes;
}

} // namespace

class NotesSearchTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void findInLine_data();
    void findInLine();
    void shortQuery_noSearch_data();
    void shortQuery_noSearch();
    void folder_data();
    void folder();
    void newQuery_dropsTheRunningOne();
    void firstHits_comeAlone();

private:
    QTemporaryDir m_dir;
};

void NotesSearchTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const auto write = [&](const char *name, const QByteArray &bytes) {
        writeBytes(m_dir.filePath(QString::fromLatin1(name)), bytes);
    };
    write("061226N.ruv", "Appeler H\xc3\xa9l\xc3\xa8ne\r\n\r\nR\xc3\xa9union budget\r\n");
    write("061226T.ruv", rows({"", "REUNION salle 3"}));
    write("010127N.ruv", "reunion du nouvel an\r\n"); // the century rule: 2027, the newest
    write("311299T.ruv", rows({"dentiste"}));         // 1999, the oldest
    write("151126N.ruv", "R\xe9union en Windows-1252\r\n");
    write("151126T.ruv", rows({}));
    write("161126N.ruv", "nothing to find\r\n");
    write("171126N.ruv", "re\xcc\x81union d\xc3\xa9"
                         "compos\xc3\xa9"
                         "e\r\n");
    write("061226N.txt", "reunion in another extension\r\n");
}

void NotesSearchTest::findInLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("length");

    QTest::newRow("case") << "Call Bob"
                          << "CALL" << 0 << 4;
    QTest::newRow("accent in the line") << u"Réunion"_qs << "reunion" << 0 << 7;
    QTest::newRow("accent in the query") << "Reunion" << u"réunion"_qs << 0 << 7;
    QTest::newRow("capital accents") << u"L'ÉTÉ"_qs << u"été"_qs << 2 << 3;
    QTest::newRow("the first of several matches") << u"été, été"_qs << "ete" << 0 << 3;
    QTest::newRow("columns count the accents before") << u"Hélène à midi"_qs << "MIDI" << 9 << 4;
    QTest::newRow("decomposed accents before")
        << u"He\u0301le\u0300ne a\u0300 midi"_qs << "midi" << 12 << 4;
    QTest::newRow("decomposed match takes its last accent")
        << u"cafe\u0301 noir"_qs << u"café"_qs << 0 << 5;
    QTest::newRow("decomposed query") << u"café"_qs << u"cafe\u0301"_qs << 0 << 4;
    QTest::newRow("capital sharp s") << u"Straße"_qs << u"STRAẞE"_qs << 0 << 6;
    QTest::newRow("sharp s is not ss") << "Strasse" << u"straße"_qs << -1 << 0;
    QTest::newRow("oe ligature") << u"Cœur"_qs << u"CŒUR"_qs << 0 << 4;
    QTest::newRow("after a surrogate pair") << u"😀 Noël"_qs << "noel" << 3 << 4;
    QTest::newRow("absent") << "Dentist"
                            << "dentiste" << -1 << 0;
    QTest::newRow("oe ligature is not o and e") << "oeuvre" << u"œuvre"_qs << -1 << 0;
}

void NotesSearchTest::findInLine()
{
    QFETCH(QString, line);
    QFETCH(QString, query);
    QFETCH(int, column);
    QFETCH(int, length);
    const LineMatch match = FindInLine(line, SearchKey(query));
    QCOMPARE(int(match.column), column);
    QCOMPARE(int(match.length), length);
}

void NotesSearchTest::shortQuery_noSearch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("searches");

    QTest::newRow("empty") << "" << false;
    QTest::newRow("one letter") << "a" << false;
    QTest::newRow("one letter in spaces") << "  a  " << false;
    QTest::newRow("one letter and its accent") << u"e\u0301"_qs << false;
    QTest::newRow("one character beyond 16 bits") << u"😀"_qs << false;
    QTest::newRow("two letters in spaces") << " ab " << true;
}

void NotesSearchTest::shortQuery_noSearch()
{
    QFETCH(QString, query);
    QFETCH(bool, searches);
    NotesSearch search;
    QSignalSpy finished(&search, &NotesSearch::finished);
    QCOMPARE(search.start(m_dir.path(), kExtension, query, kToday), searches);
    QCOMPARE(search.isRunning(), searches);
    if (searches)
        QVERIFY(finished.wait(10000));
}

void NotesSearchTest::folder_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("hits");

    QTest::newRow("newest day first, notes before hours, any accent, any encoding")
        << "reunion"
        << QStringList{"2027-01-01 N 0 0+7 reunion du nouvel an",
                       u"2026-12-06 N 2 0+7 Réunion budget"_qs,
                       "2026-12-06 T 1 0+7 REUNION salle 3",
                       u"2026-11-17 N 0 0+8 re\u0301union décomposée"_qs,
                       u"2026-11-15 N 0 0+7 Réunion en Windows-1252"_qs};
    QTest::newRow("the first row of an hour file, last century")
        << "DENTISTE" << QStringList{"1999-12-31 T 0 0+8 dentiste"};
    QTest::newRow("a match past the accents of a line")
        << u"hélène"_qs << QStringList{u"2026-12-06 N 0 8+6 Appeler Hélène"_qs};
    QTest::newRow("nowhere") << "absent" << QStringList{};
}

void NotesSearchTest::folder()
{
    QFETCH(QString, query);
    QFETCH(QStringList, hits);
    NotesSearch search;
    QCOMPARE(searchFolder(search, m_dir.path(), query), hits);
}

void NotesSearchTest::newQuery_dropsTheRunningOne()
{
    // Every line of 400 days holds the first query.
    QTemporaryDir dir;
    QByteArray notes;
    for (int line = 0; line < 20; ++line)
        notes += "alpha\r\n";
    for (QDate day(2026, 1, 1); day < QDate(2027, 2, 5); day = day.addDays(1))
        writeBytes(dir.filePath(day.toString(QStringLiteral("ddMMyy")) + u"N.ruv"), notes);
    writeBytes(dir.filePath(QStringLiteral("010226T.ruv")), rows({"beta"}));

    NotesSearch search;
    QStringList found;
    connect(&search, &NotesSearch::hitsFound, this, [&](const QList<SearchHit> &hits) {
        for (const SearchHit &hit : hits)
            found << hit.text;
    });
    QVERIFY(search.start(dir.path(), kExtension, QStringLiteral("alpha"), kToday));
    // Every hit of the first query is on its way when the second comes.
    search.worker().waitForFinished();
    QSignalSpy finished(&search, &NotesSearch::finished);
    QVERIFY(search.start(dir.path(), kExtension, QStringLiteral("beta"), kToday));
    QVERIFY(finished.wait(10000));
    QCOMPARE(found, QStringList{QStringLiteral("beta")});
    QCOMPARE(finished.size(), 1);
}

void NotesSearchTest::firstHits_comeAlone()
{
    // A search that would find every day: the newest day's hits do not wait for the others.
    QTemporaryDir dir;
    for (QDate day(2026, 1, 1); day <= kToday; day = day.addDays(1))
        writeBytes(dir.filePath(day.toString(QStringLiteral("ddMMyy")) + u"N.ruv"),
                   "alpha\r\nalpha\r\n");
    NotesSearch search;
    QSignalSpy batches(&search, &NotesSearch::hitsFound);
    QSignalSpy finished(&search, &NotesSearch::finished);
    QVERIFY(search.start(dir.path(), kExtension, QStringLiteral("alpha"), kToday));
    QVERIFY(finished.wait(10000));
    QVERIFY(!batches.isEmpty());
    const auto first = batches.first().first().value<QList<SearchHit>>();
    QCOMPARE(first.size(), 2);
    QCOMPARE(first.first().date, kToday);
}

QTEST_GUILESS_MAIN(NotesSearchTest)
#include "tst_notessearch.moc"
