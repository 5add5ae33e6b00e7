// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/language.h"

#include <QObject>
#include <QString>

class QAction;
class QKeySequence;
class QWidget;

namespace ruvo {

// The page's four commands with their keys, active anywhere in the pad's window (the editors
// included): previous day (Ctrl+Page Up), next day (Ctrl+Page Down), today (Alt+Home), go to a
// date (Ctrl+G); and their words in the page's language, for the page's menu and the corners'
// hints.
class PadCommands final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PadCommands)

public:
    // The actions are added to pad, whose window their keys reach.
    explicit PadCommands(QWidget *pad);

    QAction *prior() const { return m_prior; }
    QAction *next() const { return m_next; }
    QAction *today() const { return m_today; }
    QAction *goToDate() const { return m_goToDate; }

    // Names the actions and the hints in language (resolved, not laDefault) with the page's
    // words of that language; nothing changes when they already are.
    void name(TLanguage language, const PadWords &words);

    // The corners' and the day block's hints: the page's words for them.
    const QString &priorTip() const { return m_priorTip; }
    const QString &nextTip() const { return m_nextTip; }
    const QString &goTip() const { return m_goTip; }

private:
    QAction *add(QWidget *pad, const QKeySequence &key);

    QAction *m_prior = nullptr;
    QAction *m_next = nullptr;
    QAction *m_today = nullptr;
    QAction *m_goToDate = nullptr;
    TLanguage m_language = laDefault; // laDefault until first named
    QString m_priorTip;
    QString m_nextTip;
    QString m_goTip;
};

} // namespace ruvo
