// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program ends before its page is saved (a crash, a kill): the journal of edits brings
// back what was typed at the next start.

#include "fullfilesystem.h"
#include "padtestsupport.h"

#include "notes/editjournal.h"
#include "pad/noteseditor.h"
#include "pad/tcalendarpad.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace ruvo;
using padtest::bytesOf;
using padtest::writeBytes;

namespace {

const QString kDate = QStringLiteral("06/03/1998");

// A pad on the day files of a folder, as the program starts on them; the autosave never comes
// first.
struct StartedPad
{
    explicit StartedPad(const QString &folder)
    {
        pad.setDirectory(folder + u'/');
        pad.setExtensionFile(QStringLiteral("ruv"));
        pad.setSoundEffect(false);
        pad.setAutoSaveDelay(60 * 60 * 1000);
        padtest::showPad(pad);
        pad.RecoverNotes();
        pad.setDate(kDate);
    }
    QString journal() const
    {
        return EditJournal::pathFor(EditJournal::stateFolder(), pad.store());
    }

    TCalendarPad pad;
    QSignalSpy errors{&pad, &TCalendarPad::errorRaised};
    QSignalSpy kept{&pad, &TCalendarPad::outsideVersionsKept};
};

// Types on a pad that then ends without saving, as a crash ends it; returns its journal's path.
QString typeAndCrash(const QString &folder, const QString &notes, const QString &hour)
{
    StartedPad crashed(folder);
    if (!notes.isEmpty()) {
        crashed.pad.NotesMemo()->setFocus();
        const QStringList lines = notes.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(crashed.pad.NotesMemo(), Qt::Key_Return);
            QTest::keyClicks(crashed.pad.NotesMemo(), lines[i]);
        }
    }
    if (!hour.isEmpty())
        QTest::keyClicks(crashed.pad.TimeFields(3), hour);
    return crashed.journal();
}

QStringList keptJournals(const QString &journal)
{
    const QFileInfo info(journal);
    return info.dir().entryList({info.fileName() + u"-*.txt"}, QDir::Files);
}

} // namespace

class JournalTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { padtest::initMain(); }

private slots:
    void initTestCase() { padtest::initTestCase(); }
    void crashedPage_comesBackSaved_data();
    void crashedPage_comesBackSaved();
    void journalNotReplayable_isKeptAsideUnapplied_data();
    void journalNotReplayable_isKeptAsideUnapplied();
    void journalCutAnywhere_isUnreadableOrEarlier();
    void journalOnAFullDisk_typingAndSavesGoOn();
};

void JournalTest::crashedPage_comesBackSaved_data()
{
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QByteArray>("otherVersion");
    QTest::newRow("the notes") << u"deja ecrit, pas garde"_qs << QString() << QByteArray();
    QTest::newRow("notes of two lines") << u"first line\nsecond"_qs << QString() << QByteArray();
    QTest::newRow("an hour") << QString() << u"dentiste"_qs << QByteArray();
    QTest::newRow("both, the notes file written by another program since")
        << u"de cette machine"_qs << u"train"_qs << QByteArray("de l'autre machine\r\n");
}

void JournalTest::crashedPage_comesBackSaved()
{
    QFETCH(QString, notes);
    QFETCH(QString, hour);
    QFETCH(QByteArray, otherVersion);
    QTemporaryDir folder;
    const QString journal = typeAndCrash(folder.path(), notes, hour);
    QVERIFY(QFile::exists(journal));
    const QString notesFile = folder.filePath(u"060398N.ruv"_qs);
    if (!otherVersion.isEmpty())
        writeBytes(notesFile, otherVersion);

    StartedPad started(folder.path());
    QCOMPARE(started.errors.size(), 1);
    QVERIFY(started.errors.first().first().toString().startsWith(
        u"La page du 06/03/1998 n'était pas enregistrée"_qs));
    QCOMPARE(started.pad.NotesMemo()->toPlainText(), notes);
    QCOMPARE(started.pad.TimeFields(3)->text(), hour);
    QVERIFY(!started.pad.hasUnsavedNotes());
    QCOMPARE(bytesOf(notesFile),
             notes.isEmpty() ? QByteArray() : notes.toUtf8().replace('\n', "\r\n") + "\r\n");
    QCOMPARE(bytesOf(folder.filePath(u"060398T.ruv"_qs)).split('\n').value(2),
             hour.toUtf8() + '\r');
    QCOMPARE(started.kept.size(), otherVersion.isEmpty() ? 0 : 1);
    if (!otherVersion.isEmpty())
        QCOMPARE(bytesOf(started.kept.first().at(1).toStringList().first()), otherVersion);
    QVERIFY(!QFile::exists(journal));
}

void JournalTest::journalNotReplayable_isKeptAsideUnapplied_data()
{
    QTest::addColumn<int>("cut");
    QTest::addColumn<int>("garbled");
    QTest::addColumn<bool>("unsaveable");
    QTest::addColumn<QString>("told");
    const QString unreadable = u"Le journal des saisies "_qs;
    QTest::newRow("cut short") << 5 << -1 << false << unreadable;
    QTest::newRow("a byte of the text changed") << 0 << 30 << false << unreadable;
    QTest::newRow("the page cannot be saved") << 0 << -1 << true << u"Ne peut créer le fichier "_qs;
}

void JournalTest::journalNotReplayable_isKeptAsideUnapplied()
{
    QFETCH(int, cut);
    QFETCH(int, garbled);
    QFETCH(bool, unsaveable);
    QFETCH(QString, told);
    // The notes folder on a disk that is full by the next start.
    testing::FullFileSystem disk;
    RUVO_REQUIRE_FULL_FILE_SYSTEM(disk);
    QDir folder(disk.path());
    const QString journal = typeAndCrash(folder.path(), u"a ne pas perdre"_qs, u"rendez-vous"_qs);
    QByteArray bytes = bytesOf(journal);
    bytes.chop(cut);
    if (garbled >= 0)
        bytes[bytes.size() - garbled] = '#';
    writeBytes(journal, bytes);
    if (unsaveable)
        QVERIFY(disk.fill());

    StartedPad started(folder.path());
    QCOMPARE(started.errors.size(), 1);
    const QString message = started.errors.first().first().toString();
    QVERIFY2(message.startsWith(told), qPrintable(message));
    QVERIFY(started.pad.NotesMemo()->toPlainText().isEmpty());
    QVERIFY(!QFile::exists(folder.filePath(u"060398T.ruv"_qs)) ||
            !bytesOf(folder.filePath(u"060398T.ruv"_qs)).contains("rendez-vous"));
    const QStringList aside = keptJournals(journal);
    QCOMPARE(aside.size(), 1);
    QVERIFY(message.endsWith(u"gardé dans "_qs + QFileInfo(journal).dir().filePath(aside.first()) +
                             u'.'));
    const QByteArray keptBytes = bytesOf(QFileInfo(journal).dir().filePath(aside.first()));
    if (unsaveable)
        QVERIFY(keptBytes.contains("a ne pas perdre") && keptBytes.contains("rendez-vous"));
    else
        QCOMPARE(keptBytes, bytes);

    // Typing again starts a journal of its own; the kept one stays as it is.
    started.pad.setDate(u"07/03/1998"_qs);
    QTest::keyClicks(started.pad.TimeFields(1), u"x"_qs);
    QVERIFY(QFile::exists(journal));
    QCOMPARE(keptJournals(journal), aside);
}

// Wherever a journal ends early, it reads as unreadable or as the page at an earlier key,
// never as a text nobody typed.
void JournalTest::journalCutAnywhere_isUnreadableOrEarlier()
{
    QTemporaryDir folder;
    const QString journal = typeAndCrash(folder.path(), u"ab"_qs, u"cd"_qs);
    const QByteArray whole = bytesOf(journal);
    const QList<std::optional<QString>> typedNotes{std::nullopt, u"a"_qs, u"ab"_qs};
    const QList<std::optional<QString>> typedHour{std::nullopt, QString(), u"c"_qs, u"cd"_qs};
    for (qsizetype size = 1; size <= whole.size(); ++size) {
        writeBytes(journal, whole.left(size));
        JournaledPage page;
        if (EditJournal::read(journal, page) == EditJournal::Contents::Unreadable)
            continue;
        QVERIFY2(typedNotes.contains(page.notes) && typedHour.contains(page.hours[2]),
                 qPrintable(QString::number(size)));
        for (std::size_t row = 3; row < page.hours.size(); ++row)
            QVERIFY(!page.hours[row] || page.hours[row]->isEmpty());
    }
}

void JournalTest::journalOnAFullDisk_typingAndSavesGoOn()
{
    testing::FullFileSystem disk;
    RUVO_REQUIRE_FULL_FILE_SYSTEM(disk);
    padtest::PadOnDisk shown;
    shown.pad.setJournalFolder(disk.path());
    shown.pad.setAutoSaveDelay(60 * 60 * 1000);
    shown.type(u"avant"_qs);
    const QString journal = EditJournal::pathFor(disk.path(), shown.pad.store());
    QVERIFY(QFile::exists(journal));

    QVERIFY(disk.fill());
    QTest::ignoreMessage(QtWarningMsg,
                         qPrintable(u"Ruvo : ne peut écrire le journal des saisies "_qs + journal));
    // Long enough for its edits to need more of the disk than the journal's last block.
    const QString more = u" pendant"_qs.repeated(12);
    shown.type(more);
    QCOMPARE(shown.errors.size(), 0);
    // What the full disk took of an edit is cut off again: the journal holds its last whole one.
    JournaledPage page;
    QCOMPARE(EditJournal::read(journal, page), EditJournal::Contents::Page);
    QVERIFY(page.notes->startsWith(u"avant"_qs));

    shown.pad.SaveNotes();
    QCOMPARE(bytesOf(shown.notes(kDate)).replace("\r\n", ""), u"avant"_qs.toUtf8() + more.toUtf8());
    QVERIFY(!QFile::exists(journal));
}

QTEST_MAIN(JournalTest)
#include "tst_journal.moc"
