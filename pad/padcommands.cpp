// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "padcommands.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace ruvo {

PadCommands::PadCommands(QWidget *pad)
    : QObject(pad), m_prior(add(pad, QKeySequence(Qt::CTRL | Qt::Key_PageUp))),
      m_next(add(pad, QKeySequence(Qt::CTRL | Qt::Key_PageDown))),
      m_today(add(pad, QKeySequence(Qt::ALT | Qt::Key_Home))),
      m_goToDate(add(pad, QKeySequence(Qt::CTRL | Qt::Key_G)))
{}

QAction *PadCommands::add(QWidget *pad, const QKeySequence &key)
{
    auto *action = new QAction(pad);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    pad->addAction(action);
    return action;
}

void PadCommands::name(TLanguage language, const PadWords &words)
{
    if (language == m_language)
        return;
    m_language = language;
    const PadCommandWords commands = PadCommandWordsOf(language);
    // The hints are the page's own words; the keys are in the menu, the help and the README.
    m_priorTip = words.prior;
    m_nextTip = words.next;
    m_goTip = words.go;
    // The key after a tab: a menu shows it in its column of keys, in the page's language.
    const auto menuText = [](const QString &text, const QString &key) {
        return QStringLiteral("%1\t%2").arg(text, key);
    };
    m_prior->setText(menuText(commands.previousDay, commands.previousKey));
    m_next->setText(menuText(commands.nextDay, commands.nextKey));
    m_today->setText(menuText(commands.today, commands.todayKey));
    m_goToDate->setText(menuText(commands.goToDate, commands.goToDateKey));
}

} // namespace ruvo
