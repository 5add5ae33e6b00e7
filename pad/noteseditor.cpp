// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "noteseditor.h"

#include "notes/cleantext.h"

#include <QPlainTextDocumentLayout>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace ruvo {

NotesEditor::NotesEditor(QWidget *parent) : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab moves on to the hour fields, as on a form.
    setTabChangesFocus(true);
    document()->setDocumentMargin(2);
    connect(document(), &QTextDocument::contentsChange, this, &NotesEditor::cleanInsertedText);
}

void NotesEditor::setMaxLength(int length)
{
    m_maxLength = qMax(0, length);
}

void NotesEditor::cleanInsertedText(int position, int charsRemoved, int charsAdded)
{
    Q_UNUSED(charsRemoved);
    if (m_trimming || charsAdded <= 0)
        return;
    m_trimming = true;
    const auto done = qScopeGuard([this] { m_trimming = false; });
    QTextCursor cursor(document());
    // Whatever arrives, typed, pasted, dropped or loaded, is cleaned: a NUL or another control
    // character would end or garble the day file.
    const int documentEnd = document()->characterCount() - 1; // without the closing separator
    cursor.setPosition(position);
    cursor.setPosition(qMin(position + charsAdded, documentEnd), QTextCursor::KeepAnchor);
    const QString inserted = cursor.selectedText();
    const QString clean = CleanNotesText(inserted);
    if (clean != inserted) {
        cursor.insertText(clean);
        charsAdded = int(clean.size());
    }

    const int length = document()->characterCount() - 1;
    const int excess = length - m_maxLength;
    if (excess <= 0)
        return;
    // Cut what was just typed or pasted, never text that was there before, and never half of
    // a character.
    const int end = qMin(position + charsAdded, length);
    int start = qMax(position, end - excess);
    if (start > position && document()->characterAt(start).isLowSurrogate())
        --start;
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

namespace {

void appendShownLine(QStringList &lines, const QString &text, const QTextLine &line)
{
    QString shown = text.mid(line.textStart(), line.textLength());
    if (shown.endsWith(QChar::LineSeparator)) // Shift+Enter breaks a line too
        shown.chop(1);
    lines.append(shown);
}

} // namespace

QStringList NotesEditor::visualLines() const
{
    auto *layout = qobject_cast<QPlainTextDocumentLayout *>(document()->documentLayout());
    // Until the editor has been shown its text is laid out at no width; then the lines are
    // wrapped here the way the editor will wrap them.
    const bool laidOut = layout && !testAttribute(Qt::WA_PendingResizeEvent) &&
                         !viewport()->testAttribute(Qt::WA_PendingResizeEvent);
    const qreal wrapWidth = width() - 2 * document()->documentMargin();
    QStringList lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (laidOut) {
            layout->ensureBlockLayout(block);
            const QTextLayout *textLayout = block.layout();
            if (textLayout && textLayout->lineCount() > 0) {
                for (int i = 0; i < textLayout->lineCount(); ++i)
                    appendShownLine(lines, text, textLayout->lineAt(i));
                continue;
            }
        }
        if (lineWrapMode() == NoWrap) {
            lines.append(text);
            continue;
        }
        QTextLayout wrapped(text, document()->defaultFont());
        wrapped.setTextOption(document()->defaultTextOption());
        wrapped.beginLayout();
        for (QTextLine line = wrapped.createLine(); line.isValid(); line = wrapped.createLine()) {
            line.setLineWidth(wrapWidth);
            appendShownLine(lines, text, line);
        }
        wrapped.endLayout();
        if (text.isEmpty() && wrapped.lineCount() == 0)
            lines.append(text);
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace ruvo
