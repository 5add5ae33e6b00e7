// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagenotes.h"

#include "notes/conflictcopies.h"

#include "hourfieldvalidator.h"
#include "notes/dayfilewatcher.h"
#include "noteseditor.h"
#include "pagelayout.h"

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "notes/cleantext.h"
#include "platform/colorvalue.h"
#include "platform/pointfont.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace ruvo {

namespace {

void setTextColor(QWidget *widget, const QColor &color)
{
    if (widget->palette().color(QPalette::Active, QPalette::Text) == color &&
        widget->palette().color(QPalette::Inactive, QPalette::Text) == color)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, QPalette::Text, color);
    palette.setColor(QPalette::Inactive, QPalette::Text, color);
    widget->setPalette(palette);
}

} // namespace

PageNotes::PageNotes(QWidget *page) : QObject(page), m_page(page), m_autoSaveTimer(new QTimer(this))
{
    connect(qApp, &QApplication::focusChanged, this, &PageNotes::focusChanged);
    m_autoSaveTimer->setSingleShot(true);
    connect(m_autoSaveTimer, &QTimer::timeout, this, &PageNotes::saveInBackground);

    m_notesEditor = new NotesEditor(page);
    m_notesEditor->setGeometry(pagelayout::kNotesBounds);
    m_notesEditor->setMaxLength(kNotesMaxLength);
    QPalette notesPalette = m_notesEditor->palette();
    notesPalette.setColor(QPalette::Base, ColorToQColor(clWhite));
    notesPalette.setColor(QPalette::Text, ColorToQColor(clBlack));
    m_notesEditor->setPalette(notesPalette);
    connect(m_notesEditor, &QPlainTextEdit::textChanged, this,
            [this] { markUnsaved(DayFileKind::Notes, -1); });

    // Exactly this font: nothing of the page's own font reaches the fields.
    QFont fieldFont = ArialFont(7);
    fieldFont.setResolveMask(QFont::AllPropertiesResolved);
    QWidget *previous = m_notesEditor;
    for (int row = 1; row <= kHourRows; ++row) {
        auto *field = new QLineEdit(page);
        field->setGeometry(pagelayout::timeFieldRect(row));
        field->setFrame(false);
        // Paper under any desktop palette: a white field, whose ink colorTimeFields() sets.
        QPalette fieldPalette = field->palette();
        fieldPalette.setColor(QPalette::Base, ColorToQColor(clWhite));
        fieldPalette.setColor(QPalette::Text, ColorToQColor(clBlack));
        field->setPalette(fieldPalette);
        field->setFont(fieldFont);
        field->setMaxLength(kTimeFieldMaxLength);
        field->setValidator(new HourFieldValidator(kTimeFieldMaxLength, field));
        connect(field, &QLineEdit::textChanged, this,
                [this, row] { markUnsaved(DayFileKind::TimeFields, row - 1); });
        QWidget::setTabOrder(previous, field);
        previous = field;
        m_timeFields[std::size_t(row - 1)] = field;
    }
}

PageNotes::~PageNotes()
{
    // The editors outlive this object by a moment; their last edits are not the page's.
    m_notesEditor->disconnect(this);
    for (QLineEdit *field : m_timeFields)
        field->disconnect(this);
}

bool PageNotes::hasUnsaved() const
{
    if (std::none_of(m_files.begin(), m_files.end(),
                     [](const PageFile &file) { return file.unsaved; }))
        return false;
    // Typed, then erased back to what the file holds (an empty page where there is none): there
    // is nothing to save.
    const PageLines lines = typedLines();
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const PageFile &file = m_files[i];
        if (file.unsaved &&
            DayFileBytes(lines[i]) != file.bytes.value_or(EmptyDayFileBytes(kDayFileKinds[i])))
            return true;
    }
    return false;
}

PageLines PageNotes::typedLines() const
{
    PageLines lines;
    if (m_files[DayFileIndex(DayFileKind::Notes)].unsaved)
        lines[DayFileIndex(DayFileKind::Notes)] = m_notesEditor->visualLines();
    if (m_files[DayFileIndex(DayFileKind::TimeFields)].unsaved) {
        QStringList &rows = lines[DayFileIndex(DayFileKind::TimeFields)];
        for (const QLineEdit *field : m_timeFields)
            rows << field->text();
    }
    return lines;
}

bool PageNotes::showFile(DayFileKind kind, const std::optional<QByteArray> &bytes)
{
    m_loading = true;
    const auto done = qScopeGuard([this] { m_loading = false; });
    const QStringList lines = bytes ? DayFileLines(*bytes) : QStringList();
    // What the editors then hold, without the line breaks the page writes of its own.
    QString shown;
    if (kind == DayFileKind::Notes) {
        // The typing limit is not the page's: a full page comes back with a line break for
        // every wrapped row, and none of it may be cut.
        m_notesEditor->setMaxLength(std::numeric_limits<int>::max());
        const auto limit = qScopeGuard([this] { m_notesEditor->setMaxLength(kNotesMaxLength); });
        m_notesEditor->setPlainText(lines.join(u'\n'));
        for (QTextBlock block = m_notesEditor->document()->begin(); block.isValid();
             block = block.next())
            shown += block.text();
        shown.remove(QChar::LineSeparator); // each ends a shown line, written as a line break
    } else {
        const std::array<QString, kHourRows> rows = HourRowsOf(lines);
        for (std::size_t row = 0; row < rows.size(); ++row) {
            m_timeFields[row]->setText(rows[row]);
            shown += m_timeFields[row]->text();
        }
    }
    return bytes && !DayFileHoldsOnly(*bytes, shown);
}

void PageNotes::markUnsaved(DayFileKind kind, int row)
{
    if (m_loading)
        return;
    bool &unsaved = m_files[DayFileIndex(kind)].unsaved;
    const bool typedOn = unsaved;
    unsaved = true;
    journalEdit(typedOn, kind, row);
    // Restarted at every keystroke: the save waits for a pause in the typing.
    m_autoSaveTimer->start(m_autoSaveDelay);
    emit typed();
}

EditJournal &PageNotes::journal()
{
    if (!m_journal) {
        const QString folder = m_journalFolder.value_or(EditJournal::stateFolder());
        m_journal = std::make_unique<EditJournal>(
            folder.isEmpty() ? QString() : EditJournal::pathFor(folder, m_store));
    }
    return *m_journal;
}

JournaledPage PageNotes::journaledPage() const
{
    JournaledPage page;
    page.folder = EditJournal::folderOf(m_store);
    page.extension = m_store.extension();
    page.date = m_loadedDate.isValid() ? m_loadedDate : m_dateOnShow;
    for (std::size_t i = 0; i < m_files.size(); ++i)
        page.base[i] = m_files[i].bytes;
    if (m_files[DayFileIndex(DayFileKind::Notes)].unsaved)
        page.notes = m_notesEditor->document()->toRawText();
    if (m_files[DayFileIndex(DayFileKind::TimeFields)].unsaved) {
        for (std::size_t row = 0; row < m_timeFields.size(); ++row)
            page.hours[row] = m_timeFields[row]->text();
    }
    return page;
}

void PageNotes::startJournal()
{
    EditJournal &kept = journal();
    if (kept.path().isEmpty() || kept.start(journaledPage())) {
        m_journalFailureReported = false;
        return;
    }
    // Typing goes on without it: the day files' own saves are what counts.
    if (!m_journalFailureReported)
        qWarning("Ruvo : ne peut écrire le journal des saisies %s",
                 qPrintable(QDir::toNativeSeparators(kept.path())));
    m_journalFailureReported = true;
}

void PageNotes::journalEdit(bool fileTypedOn, DayFileKind kind, int row)
{
    EditJournal &kept = journal();
    if (!fileTypedOn || !kept.appendable()) {
        startJournal();
        return;
    }
    const bool appended = kind == DayFileKind::Notes
                              ? kept.appendNotes(m_notesEditor->document()->toRawText())
                              : kept.appendHour(row, m_timeFields[std::size_t(row)]->text());
    if (!appended)
        startJournal();
}
void PageNotes::showText(DayFileKind kind, int line, int column, int length)
{
    if (kind == DayFileKind::TimeFields) {
        if (line < 0 || line >= kHourRows)
            return;
        QLineEdit *field = m_timeFields[std::size_t(line)];
        field->setFocus();
        field->setSelection(column, length);
        return;
    }
    const QTextBlock block = m_notesEditor->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    // Cut to the line: the file may have changed since the text was found.
    const int start = block.position() + std::clamp(column, 0, block.length() - 1);
    const int end = std::min(start + std::max(length, 0), block.position() + block.length() - 1);
    QTextCursor cursor(block);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    m_notesEditor->setTextCursor(cursor);
    m_notesEditor->setFocus();
    m_notesEditor->ensureCursorVisible();
}

void PageNotes::setEditable(bool editable)
{
    m_notesEditor->setReadOnly(!editable);
    for (QLineEdit *field : m_timeFields)
        field->setReadOnly(!editable);
}

void PageNotes::colorTimeFields(int markedRow, const QColor &normal, const QColor &marked)
{
    for (int row = 1; row <= kHourRows; ++row)
        setTextColor(m_timeFields[std::size_t(row - 1)], row == markedRow ? marked : normal);
}

void PageNotes::nameEditors(const QString &notesName, const std::array<QString, kHourRows> &hours)
{
    if (m_notesEditor->accessibleName() != notesName)
        m_notesEditor->setAccessibleName(notesName);
    for (std::size_t i = 0; i < m_timeFields.size(); ++i) {
        if (m_timeFields[i]->accessibleName() != hours[i])
            m_timeFields[i]->setAccessibleName(hours[i]);
    }
}

void PageNotes::load()
{
    if (hasUnsaved()) {
        if (m_loadedDate == m_dateOnShow)
            return; // what the user typed stays until it is saved
        save();     // it belongs to another date: keep it there first
    }
    m_autoSaveTimer->stop();
    journal().remove(); // nothing on the page is unsaved: the files hold it

    // Until both files are read the editors are not the notes of any date: nothing is saved
    // over a file that could not be read, and no other date's rows stay on this page. Nothing
    // can be typed on such a page either, so no later save replaces the file it could not read.
    const QDate shownDate = m_loadedDate;
    m_loadedDate = {};
    // A sync tool's copies of the day's files join the page before it is read.
    const ConflictMerge merged =
        MergeConflictCopies(m_store, m_dateOnShow, m_conflictCopies.names(m_store));
    if (!merged.isEmpty())
        emit errorRaised(merged.message());
    StoredPage read;
    try {
        read = m_store.read(m_dateOnShow);
    } catch (const Error &) {
        for (const DayFileKind kind : kDayFileKinds)
            showFile(kind, {});
        setEditable(false);
        throw;
    }
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        // A file that still holds what the editor shows is not shown again: the cursor and
        // the selection stay where the user left them (coming back from another window).
        if (shownDate != m_dateOnShow || read.files[i].bytes != m_files[i].bytes)
            read.files[i].notShownWhole = showFile(kDayFileKinds[i], read.files[i].bytes);
        else
            read.files[i].notShownWhole = m_files[i].notShownWhole;
    }
    m_files = read.files;
    setEditable(true);
    m_loadedDate = m_dateOnShow;
    watchDayFiles();
}

void PageNotes::save()
{
    if (!m_loadedDate.isValid()) {
        if (!hasUnsaved())
            return; // nothing loaded and nothing typed: no file to write
        m_loadedDate = m_dateOnShow;
    }
    const bool typedOn = hasUnsaved();
    const PageWrite written = m_store.write(m_loadedDate, m_files, typedLines());
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        if (written.changedOutside[i])
            m_files[i].notShownWhole = showFile(kDayFileKinds[i], m_files[i].bytes);
    }
    if (!written.keptAs.isEmpty())
        emit outsideVersionsKept(written.changedFiles, written.keptAs);
    // What the files now hold is the journal's new base; once they hold the page it goes.
    const bool unsaved = hasUnsaved();
    if (unsaved)
        startJournal();
    else
        journal().remove();
    if (written.failure)
        throw *written.failure;
    m_backgroundFailureReported = false;
    if (!unsaved)
        m_autoSaveTimer->stop();
    if (typedOn)
        emit saved();
}

void PageNotes::saveInBackground()
{
    if (!hasUnsaved())
        return;
    try {
        save();
    } catch (const Error &e) {
        if (!m_backgroundFailureReported) {
            m_backgroundFailureReported = true;
            emit errorRaised(e.message());
        }
        m_autoSaveTimer->start(kAutoSaveRetry);
    }
}

void PageNotes::followOutsideChanges()
{
    if (m_loadedDate != m_dateOnShow || !m_loadedDate.isValid())
        return;
    try {
        const StoredPage now = m_store.read(m_loadedDate);
        if (!hasUnsaved()) {
            // Reloaded only when a file really changed: the notice also follows the page's own
            // saves and other files of the folder.
            for (std::size_t i = 0; i < m_files.size(); ++i) {
                if (now.files[i].bytes != m_files[i].bytes) {
                    load();
                    return;
                }
            }
            return;
        }
        // Typed on: the editor typed on keeps its text (the save keeps both versions); the
        // other one shows the new version now.
        for (std::size_t i = 0; i < m_files.size(); ++i) {
            if (!m_files[i].unsaved && now.files[i].bytes != m_files[i].bytes) {
                m_files[i].notShownWhole = showFile(kDayFileKinds[i], now.files[i].bytes);
                m_files[i].bytes = now.files[i].bytes;
            }
        }
    } catch (const Error &e) {
        emit errorRaised(e.message());
    }
}

void PageNotes::stopFollowingFocus()
{
    disconnect(qApp, &QApplication::focusChanged, this, &PageNotes::focusChanged);
}

bool PageNotes::onPage(const QWidget *widget) const
{
    return widget && (widget == m_page || m_page->isAncestorOf(widget));
}

void PageNotes::focusChanged(QWidget *old, QWidget *now)
{
    const bool wasInside = onPage(old);
    const bool isInside = onPage(now);
    if (wasInside == isInside)
        return;
    try {
        if (isInside)
            load();
        else
            save();
    } catch (const Error &e) {
        emit errorRaised(e.message());
    }
}

void PageNotes::watchDayFiles()
{
    if (!m_dayFileWatcher) {
        m_dayFileWatcher = new DayFileWatcher(this);
        connect(m_dayFileWatcher, &DayFileWatcher::changed, this, &PageNotes::followOutsideChanges);
    }
    m_dayFileWatcher->watch({m_store.path(m_loadedDate, DayFileKind::Notes),
                             m_store.path(m_loadedDate, DayFileKind::TimeFields)});
}

QString PageNotes::rescue(const QString &folder, int startTime) const
{
    std::array<QString, kHourRows> hours;
    for (std::size_t row = 0; row < hours.size(); ++row)
        hours[row] = m_timeFields[row]->text();
    return DayStore::rescue(folder, m_loadedDate.isValid() ? m_loadedDate : m_dateOnShow,
                            m_notesEditor->visualLines(), hours, startTime);
}

QString PageNotes::keepJournalAside(const QString &why, const QString &what, const QString &path)
{
    m_journal.reset();
    const QString kept = EditJournal::keepAside(path);
    if (kept.isEmpty())
        m_journalFolder = QString(); // this run keeps no journal rather than write over it
    // What the editors hold is in the kept journal: they hold no date's notes until the next
    // load.
    m_autoSaveTimer->stop();
    m_files = {};
    m_loadedDate = {};
    return why + u' ' + what +
           (kept.isEmpty()
                ? QStringLiteral(" reste dans %1.").arg(QDir::toNativeSeparators(path))
                : QStringLiteral(" est gardé dans %1.").arg(QDir::toNativeSeparators(kept)));
}

QString PageNotes::recover()
{
    const QString path = journal().path();
    if (path.isEmpty())
        return {};
    JournaledPage page;
    const EditJournal::Contents contents = EditJournal::read(path, page);
    if (contents == EditJournal::Contents::None)
        return {};
    const QString unreadable = QStringLiteral("Le journal des saisies %1 est illisible : rien "
                                              "n'en est repris.")
                                   .arg(QDir::toNativeSeparators(path));
    if (contents == EditJournal::Contents::Unreadable ||
        page.folder != EditJournal::folderOf(m_store) || page.extension != m_store.extension())
        return keepJournalAside(unreadable, QStringLiteral("Il"), path);
    if (!page.typedOn()) {
        journal().remove();
        QFile::remove(path);
        return {};
    }

    const QString typedText = QStringLiteral("Ce qui y était écrit");
    const QString lost =
        QStringLiteral("La page du %1 n'était pas enregistrée quand Ruvo s'est arrêté.")
            .arg(DateToText(page.date));
    const QDate onShow = m_dateOnShow;
    const auto back = qScopeGuard([&] { m_dateOnShow = onShow; });
    m_dateOnShow = page.date;
    try {
        load();
    } catch (const Error &e) {
        return keepJournalAside(e.message() + u'\n' + lost, typedText, path);
    }
    // Put back as typed, through the editors' own cleaning, and journaled again as it goes.
    if (page.notes)
        m_notesEditor->setPlainText(*page.notes);
    for (std::size_t row = 0; row < page.hours.size(); ++row) {
        if (page.hours[row])
            m_timeFields[row]->setText(CleanHourText(*page.hours[row], kTimeFieldMaxLength));
    }
    const PageLines lines = typedLines();
    bool differs = false;
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        PageFile &file = m_files[i];
        if (!file.unsaved)
            continue;
        if (DayFileBytes(lines[i]) == file.bytes.value_or(EmptyDayFileBytes(kDayFileKinds[i]))) {
            file.unsaved = false; // saved before the end, the journal not yet gone
            continue;
        }
        // Compared with what the page read: a file changed since is another program's
        // version, kept beside it by the save.
        file.bytes = page.base[i];
        differs = true;
    }
    if (!differs) {
        journal().remove();
        QFile::remove(path);
        return {};
    }
    startJournal();
    try {
        save();
    } catch (const Error &e) {
        return keepJournalAside(e.message() + u'\n' + lost, typedText, path);
    }
    return lost + u' ' + typedText + QStringLiteral(" est repris et enregistré.");
}

} // namespace ruvo
