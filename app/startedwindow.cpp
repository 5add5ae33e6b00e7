// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "startedwindow.h"

#include "pad/tcalendarpad.h"
#include "platform/cursortable.h"
#include "platform/qttranslations.h"

#include <QCoreApplication>
#include <QScreen>

namespace ruvo {

StartedWindow::Cursors::Cursors()
{
    RegisterStartupCursors();
}

StartedWindow::StartedWindow()
{
    QObject::connect(&m_terminationSignals, &TerminationSignals::terminationRequested, &m_form,
                     &TForm1::quitForSession);
    // The editors' context menus speak the page's language.
    InstallQtTranslations(*QCoreApplication::instance(), m_form.CP()->Language());
}

void StartedWindow::show()
{
    m_form.adjustSize();
    if (const QScreen *screen = m_form.screen())
        m_form.move(screen->availableGeometry().center() - m_form.frameGeometry().center());
    m_form.show();
}

} // namespace ruvo
