#include "startedwindow.h"

#include "platform/cursortable.h"

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
}

void StartedWindow::show()
{
    m_form.adjustSize();
    if (const QScreen *screen = m_form.screen())
        m_form.move(screen->availableGeometry().center() - m_form.frameGeometry().center());
    m_form.show();
}

} // namespace ruvo
