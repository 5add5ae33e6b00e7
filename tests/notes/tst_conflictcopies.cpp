// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Sync tools' conflict copies of a day file, merged into their day.

#include "notes/conflictcopies.h"
#include "notes/dayfileformat.h"
#include "notes/daypurge.h"
#include "notes/daystore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;

namespace {

const QDate kDay(2026, 12, 6);

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

std::array<QString, kHourRows> rows(const QMap<int, QString> &byRow)
{
    std::array<QString, kHourRows> all;
    for (auto it = byRow.cbegin(); it != byRow.cend(); ++it)
        all[std::size_t(it.key())] = it.value();
    return all;
}

} // namespace

class ConflictCopiesTest : public QObject
{
    Q_OBJECT

private slots:
    void namesOfCopies_data();
    void namesOfCopies();
    void hourRowsKeepBothTexts_data();
    void hourRowsKeepBothTexts();
    void copiesJoinTheirDayOnceAndGoToTheTrash_data();
    void copiesJoinTheirDayOnceAndGoToTheTrash();
    void expiredDayIsMergedBeforeThePurge();
};

void ConflictCopiesTest::namesOfCopies_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stem");
    QTest::newRow("Syncthing") << u"061226N.sync-conflict-20261208-101010-ABCDEFG.ruv"_qs
                               << u"061226N"_qs;
    QTest::newRow("Nextcloud") << u"061226T (conflicted copy 2026-12-08 101010).ruv"_qs
                               << u"061226T"_qs;
    QTest::newRow("Dropbox") << u"061226N (Ordinateur's conflicted copy 2026-12-08).ruv"_qs
                             << u"061226N"_qs;
    QTest::newRow("Dropbox, a second")
        << u"061226N (Ordinateur's conflicted copy 2026-12-08 (1)).ruv"_qs << u"061226N"_qs;
    QTest::newRow("the day file") << u"061226N.ruv"_qs << QString();
    QTest::newRow("the version Ruvo keeps") << u"061226N-autre-20261208-093012.ruv"_qs << QString();
    QTest::newRow("another extension")
        << u"061226N.sync-conflict-20261208-101010-ABCDEFG.txt"_qs << QString();
    QTest::newRow("no day file's stem")
        << u"061226X (conflicted copy 2026-12-08 101010).ruv"_qs << QString();
}

void ConflictCopiesTest::namesOfCopies()
{
    QFETCH(QString, name);
    QFETCH(QString, stem);
    QCOMPARE(ConflictCopyStem(name, u"ruv").value_or(QString()), stem);
}

void ConflictCopiesTest::hourRowsKeepBothTexts_data()
{
    QTest::addColumn<QString>("ours");
    QTest::addColumn<QString>("theirs");
    QTest::addColumn<QString>("merged");
    QTest::addColumn<QStringList>("overflow");
    QTest::newRow("the same") << u"Dentiste"_qs << u"Dentiste"_qs << u"Dentiste"_qs
                              << QStringList();
    QTest::newRow("ours empty") << QString() << u"Dentiste"_qs << u"Dentiste"_qs << QStringList();
    QTest::newRow("theirs empty") << u"Dentiste"_qs << QString() << u"Dentiste"_qs << QStringList();
    QTest::newRow("both") << u"Dentiste"_qs << u"Réunion"_qs << u"Dentiste / Réunion"_qs
                          << QStringList();
    QTest::newRow("merged already")
        << u"Dentiste / Réunion"_qs << u"Réunion"_qs << u"Dentiste / Réunion"_qs << QStringList();
    const QString longText(200, u'é');
    QTest::newRow("too long for a row: theirs to the notes")
        << longText << u"Réunion"_qs.repeated(10) << longText
        << QStringList{u"Réunion"_qs.repeated(10)};
}

void ConflictCopiesTest::hourRowsKeepBothTexts()
{
    QFETCH(QString, ours);
    QFETCH(QString, theirs);
    QFETCH(QString, merged);
    QFETCH(QStringList, overflow);
    QStringList left;
    QCOMPARE(MergeHourRows(rows({{3, ours}}), rows({{3, theirs}}), left)[3], merged);
    QCOMPARE(left, overflow);
}

void ConflictCopiesTest::copiesJoinTheirDayOnceAndGoToTheTrash_data()
{
    QTest::addColumn<QString>("notesCopy");
    QTest::addColumn<QString>("rowsCopy");
    QTest::newRow("Syncthing") << u"061226N.sync-conflict-20261208-101010-ABCDEFG.ruv"_qs
                               << u"061226T.sync-conflict-20261208-101010-ABCDEFG.ruv"_qs;
    QTest::newRow("Nextcloud") << u"061226N (conflicted copy 2026-12-08 101010).ruv"_qs
                               << u"061226T (conflicted copy 2026-12-08 101010).ruv"_qs;
    QTest::newRow("Dropbox") << u"061226N (Ordinateur's conflicted copy 2026-12-08).ruv"_qs
                             << u"061226T (Ordinateur's conflicted copy 2026-12-08).ruv"_qs;
}

void ConflictCopiesTest::copiesJoinTheirDayOnceAndGoToTheTrash()
{
    QFETCH(QString, notesCopy);
    QFETCH(QString, rowsCopy);
    QTemporaryDir dir;
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const DayStore store(dir.path(), u"ruv"_qs);
    write(store.path(kDay, DayFileKind::Notes), "Acheter du pain\r\nAppeler Jean\r\n");
    write(store.path(kDay, DayFileKind::TimeFields), "Dentiste\r\n\r\nTrain\r\n");
    write(dir.filePath(notesCopy), "Acheter du pain\r\nArroser les plantes\r\n");
    write(dir.filePath(rowsCopy), "Dentiste\r\nCafé\r\nBus\r\n");
    // Another day's copy is not this day's.
    write(dir.filePath(u"071226N (conflicted copy 2026-12-08 101010).ruv"_qs), "Autre jour\r\n");

    const ConflictMerge merged = MergeConflictCopies(store, kDay);
    QVERIFY(!merged.failure);
    QCOMPARE(merged.merged.size(), 2);
    QCOMPARE(merged.stayed, QStringList());
    QVERIFY(merged.message().contains(notesCopy + u" (06/12/2026)"));
    QCOMPARE(bytesOf(store.path(kDay, DayFileKind::Notes)),
             "Acheter du pain\r\nAppeler Jean\r\nArroser les plantes\r\n");
    QCOMPARE(store.read(kDay).hours()[0], u"Dentiste"_qs);
    QCOMPARE(store.read(kDay).hours()[1], u"Café"_qs);
    QCOMPARE(store.read(kDay).hours()[2], u"Train / Bus"_qs);
    QVERIFY(!QFile::exists(dir.filePath(notesCopy)));
    QVERIFY(!QFile::exists(dir.filePath(rowsCopy)));
    QVERIFY(QFile::exists(dir.filePath(u"071226N (conflicted copy 2026-12-08 101010).ruv"_qs)));

    // Nothing left to merge, and the other day's copy when that day is not skipped.
    QVERIFY(MergeConflictCopies(store, kDay).isEmpty());
    QVERIFY(MergeAllConflictCopies(store, kDay, [](const QDate &d) {
                return d == kDay.addDays(1);
            }).isEmpty());
    QCOMPARE(MergeAllConflictCopies(store, kDay, {}).merged.size(), 1);
    QCOMPARE(bytesOf(store.path(kDay.addDays(1), DayFileKind::Notes)), "Autre jour\r\n");
}

void ConflictCopiesTest::expiredDayIsMergedBeforeThePurge()
{
    QTemporaryDir dir;
    QTemporaryDir data; // a trash of its own, where the day's file name is free
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    const auto restore = qScopeGuard([&dataHome] { qputenv("XDG_DATA_HOME", dataHome); });
    const QString trash = data.filePath(u"Trash/files/"_qs);
    const QDate today = QDate::currentDate();
    const DayStore store(dir.path(), u"ruv"_qs);
    const QDate expired = today.addDays(-100);
    write(store.path(expired, DayFileKind::Notes), "Ici\r\n");
    write(store.path(today, DayFileKind::Notes), "Aujourd'hui\r\n"); // the newest page with text
    const QString copy = DayFileStem(expired) + u"N.sync-conflict-20261208-101010-ABCDEFG.ruv";
    write(dir.filePath(copy), "Là-bas\r\n");

    DayPurge purge;
    QSignalSpy finished(&purge, &DayPurge::finished);
    purge.start(dir.path(), u"ruv"_qs, today, 30);
    QVERIFY(finished.wait(10000));
    QVERIFY(finished.at(0).at(0).toString().contains(copy));
    // Both sides are in the trash, the day holding both.
    QVERIFY(!QFile::exists(dir.filePath(copy)));
    QVERIFY(!QFile::exists(store.path(expired, DayFileKind::Notes)));
    QCOMPARE(bytesOf(trash + QFileInfo(store.path(expired, DayFileKind::Notes)).fileName()),
             "Ici\r\nL\xE0-bas\r\n"); // in Windows-1252, as the day's file was
}

QTEST_GUILESS_MAIN(ConflictCopiesTest)
#include "tst_conflictcopies.moc"
