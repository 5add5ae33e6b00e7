#include "pagenotes.h"

#include "notes/dayfilewatcher.h"
#include "hourfieldvalidator.h"
#include "noteseditor.h"
#include "pagelayout.h"

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "platform/colorvalue.h"
#include "platform/pointfont.h"
#include "platform/wholefile.h"

#include <QDateTime>
#include <QDir>
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

PageNotes::PageNotes(QWidget *page, PathOf pathOf)
    : QObject(page), m_pathOf(std::move(pathOf)), m_autoSaveTimer(new QTimer(this))
{
    m_autoSaveTimer->setSingleShot(true);
    connect(m_autoSaveTimer, &QTimer::timeout, this, &PageNotes::autoSaveDue);

    m_notesEditor = new NotesEditor(page);
    m_notesEditor->setGeometry(pagelayout::kNotesBounds);
    m_notesEditor->setMaxLength(kNotesMaxLength);
    QPalette notesPalette = m_notesEditor->palette();
    notesPalette.setColor(QPalette::Base, ColorToQColor(clWhite));
    notesPalette.setColor(QPalette::Text, ColorToQColor(clBlack));
    m_notesEditor->setPalette(notesPalette);
    connect(m_notesEditor, &QPlainTextEdit::textChanged, this,
            [this] { markUnsaved(DayFileKind::Notes); });

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
                [this] { markUnsaved(DayFileKind::TimeFields); });
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
    return std::any_of(m_dayFiles.begin(), m_dayFiles.end(),
                       [](const DayFileState &file) { return file.unsaved; });
}

QStringList PageNotes::editorLines(DayFileKind kind) const
{
    if (kind == DayFileKind::Notes)
        return m_notesEditor->visualLines();
    QStringList rows;
    for (const QLineEdit *field : m_timeFields)
        rows << field->text();
    return rows;
}

void PageNotes::showLines(DayFileKind kind, const QStringList &lines)
{
    m_loading = true;
    const auto done = qScopeGuard([this] { m_loading = false; });
    if (kind == DayFileKind::Notes) {
        // The typing limit is not the page's: a full page comes back with a line break for
        // every wrapped row, and none of it may be cut.
        m_notesEditor->setMaxLength(std::numeric_limits<int>::max());
        const auto limit = qScopeGuard([this] { m_notesEditor->setMaxLength(kNotesMaxLength); });
        m_notesEditor->setPlainText(lines.join(u'\n'));
        return;
    }
    // Lines after the 17th are not the page's; rows without a line are empty.
    for (int row = 1; row <= kHourRows; ++row)
        m_timeFields[std::size_t(row - 1)]->setText(row <= lines.size() ? lines.at(row - 1)
                                                                        : QString());
}

void PageNotes::markUnsaved(DayFileKind kind)
{
    if (m_loading)
        return;
    for (DayFileState &file : m_dayFiles) {
        if (file.kind == kind)
            file.unsaved = true;
    }
    // Restarted at every keystroke: the save waits for a pause in the typing.
    m_autoSaveTimer->start(m_autoSaveDelay);
    emit typed();
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

void PageNotes::load(const QString &dateOnShow)
{
    if (hasUnsaved()) {
        if (m_loadedDate == dateOnShow)
            return;       // what the user typed stays until it is saved
        save(dateOnShow); // it belongs to another date: keep it there first
    }
    m_autoSaveTimer->stop();

    // Until both files are read the editors are not the notes of any date: nothing is saved
    // over a file that could not be read, and no other date's rows stay on this page. Nothing
    // can be typed on such a page either, so no later save replaces the file it could not read.
    const QString shownDate = m_loadedDate;
    m_loadedDate.clear();
    std::array<std::optional<QByteArray>, 2> read;
    try {
        for (std::size_t i = 0; i < m_dayFiles.size(); ++i)
            read[i] = ReadDayFileBytes(m_pathOf(m_dayFiles[i].kind, dateOnShow));
    } catch (const Error &) {
        for (const DayFileState &file : m_dayFiles)
            showLines(file.kind, {});
        setEditable(false);
        throw;
    }
    for (std::size_t i = 0; i < m_dayFiles.size(); ++i) {
        // A file that still holds what the editor shows is not shown again: the cursor and
        // the selection stay where the user left them (coming back from another window).
        if (shownDate != dateOnShow || read[i] != m_dayFiles[i].bytes)
            showLines(m_dayFiles[i].kind, read[i] ? DayFileLines(*read[i]) : QStringList());
        m_dayFiles[i] = {m_dayFiles[i].kind, read[i], false};
    }
    setEditable(true);
    m_loadedDate = dateOnShow;
    watchDayFiles();
}

void PageNotes::save(const QString &dateOnShow)
{
    if (m_loadedDate.isEmpty()) {
        if (!hasUnsaved())
            return; // nothing loaded and nothing typed: no file to write
        m_loadedDate = dateOnShow;
    }
    QStringList changedFiles;
    QStringList keptAs;
    const auto tell = qScopeGuard([&] {
        if (!keptAs.isEmpty())
            emit outsideVersionsKept(changedFiles, keptAs);
    });
    // Both files are written together, with one commit to the disk.
    QList<FileReplacement> writes;
    std::array<std::optional<QByteArray>, 2> saved;
    for (std::size_t i = 0; i < m_dayFiles.size(); ++i) {
        DayFileState &file = m_dayFiles[i];
        const QString path = m_pathOf(file.kind, m_loadedDate);
        // Read again before every save: another program may have written it since.
        const std::optional<QByteArray> now = ReadDayFileBytes(path);
        if (!file.unsaved) {
            if (now) {
                // Never written over: nothing was typed that it lacks.
                if (now != file.bytes) {
                    showLines(file.kind, DayFileLines(*now));
                    file.bytes = now;
                }
                continue;
            }
            if (file.bytes) // deleted by another program: the page follows
                showLines(file.kind, {});
        }
        const QByteArray bytes = DayFileBytes(editorLines(file.kind));
        if (file.unsaved && now && now != file.bytes && now != bytes) {
            keptAs << KeepOutsideVersion(path, *now, QDateTime::currentDateTime());
            changedFiles << path;
        }
        if (now != bytes)
            writes.append({path, bytes});
        saved[i] = bytes;
    }
    const auto keepSaved = [&] {
        for (std::size_t i = 0; i < m_dayFiles.size(); ++i) {
            if (saved[i]) {
                m_dayFiles[i].bytes = saved[i];
                m_dayFiles[i].unsaved = false;
            }
        }
    };
    try {
        WriteDayFilesBytes(writes);
    } catch (const Error &) {
        // What was written before the failure is saved; the rest stays to be saved again.
        for (std::size_t i = 0; i < m_dayFiles.size(); ++i) {
            const QString path = m_pathOf(m_dayFiles[i].kind, m_loadedDate);
            if (saved[i] && ReadDayFileBytes(path) != saved[i])
                saved[i].reset();
        }
        keepSaved();
        throw;
    }
    keepSaved();
    m_backgroundFailureReported = false;
    if (!hasUnsaved())
        m_autoSaveTimer->stop();
}

void PageNotes::saveInBackground(const QString &dateOnShow)
{
    if (!hasUnsaved())
        return;
    try {
        save(dateOnShow);
    } catch (const Error &e) {
        if (!m_backgroundFailureReported) {
            m_backgroundFailureReported = true;
            emit backgroundSaveFailed(e.message());
        }
        m_autoSaveTimer->start(kAutoSaveRetry);
    }
}

void PageNotes::followOutsideChanges(const QString &dateOnShow)
{
    if (m_loadedDate != dateOnShow || m_loadedDate.isEmpty())
        return;
    if (!hasUnsaved()) {
        // Reloaded only when a file really changed: the notice also follows the page's own
        // saves and other files of the folder.
        const bool changed = std::any_of(m_dayFiles.begin(), m_dayFiles.end(), [&](auto &file) {
            return ReadDayFileBytes(m_pathOf(file.kind, dateOnShow)) != file.bytes;
        });
        if (changed)
            load(dateOnShow);
        return;
    }
    // Typed on: the editor typed on keeps its text (the save keeps both versions); the other
    // one shows the new version now.
    for (DayFileState &file : m_dayFiles) {
        if (file.unsaved)
            continue;
        const std::optional<QByteArray> now = ReadDayFileBytes(m_pathOf(file.kind, dateOnShow));
        if (now != file.bytes) {
            showLines(file.kind, now ? DayFileLines(*now) : QStringList());
            file.bytes = now;
        }
    }
}

void PageNotes::watchDayFiles()
{
    if (!m_dayFileWatcher) {
        m_dayFileWatcher = new DayFileWatcher(this);
        connect(m_dayFileWatcher, &DayFileWatcher::changed, this, &PageNotes::dayFilesChanged);
    }
    m_dayFileWatcher->watch({m_pathOf(DayFileKind::Notes, m_loadedDate),
                             m_pathOf(DayFileKind::TimeFields, m_loadedDate)});
}

QString PageNotes::rescue(const QString &folder, const QString &dateOnShow, int startTime) const
{
    const QString date = m_loadedDate.isEmpty() ? dateOnShow : m_loadedDate;
    const QDateTime now = QDateTime::currentDateTime();
    const QString path = folder + u'/' + DatePart(date, 2) + u'-' + DatePart(date, 1) + u'-' +
                         DatePart(date, 0) + u"_" +
                         now.toString(QStringLiteral("yyyyMMdd-HHmmss")) + u".txt";
    // Readable as it is: the date, the notes, then each hour with its entry.
    QString text = date + u"\n\n";
    for (const QString &line : m_notesEditor->visualLines())
        text += line + u'\n';
    text += u'\n';
    const std::array<QString, kHourRows> hours = HourScaleLabels(startTime, laFrench);
    for (int row = 1; row <= kHourRows; ++row)
        text +=
            hours[std::size_t(row - 1)] + u' ' + m_timeFields[std::size_t(row - 1)]->text() + u'\n';
    if (!QDir().mkpath(folder) || !ReplaceFileWhole(path, text.toUtf8()))
        throw Error(u"Ne peut créer le fichier " + path);
    return path;
}

} // namespace ruvo
