// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/dayfileformat.h"

#include <QPlainTextEdit>
#include <QStringList>

namespace ruvo {

// The pad's free-notes editor: borderless, no scroll bars, wrapping at its width, with a limit
// on its length. The day files keep the notes as the editor shows them, line by wrapped line,
// so it hands out exactly those lines.
class NotesEditor final : public QPlainTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotesEditor)

public:
    explicit NotesEditor(QWidget *parent = nullptr);

    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length);

    // Every line as shown, a wrapped paragraph giving one line per row; an empty last line is
    // left out. Lines are laid out at the editor's width even while it is hidden.
    QStringList visualLines() const;

private:
    void cleanInsertedText(int position, int charsRemoved, int charsAdded);

    int m_maxLength = kNotesMaxLength;
    bool m_trimming = false;
};

} // namespace ruvo
