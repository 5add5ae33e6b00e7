#include "instancelock.h"
#include "ruvoapplication.h"
#include "tform1.h"

#include "platform/cursortable.h"
#include "platform/terminationsignals.h"

#include <QDir>
#include <QMessageBox>
#include <QScreen>

int main(int argc, char **argv)
{
    ruvo::RuvoApplication app(argc, argv);

    // Before the window exists: a second copy in the same folder would save over the notes of
    // the first.
    ruvo::InstanceLock instanceLock(QDir::currentPath());
    if (!instanceLock.acquire()) {
        QMessageBox::warning(nullptr, QApplication::applicationDisplayName(),
                             instanceLock.refusalMessage());
        return 1;
    }

    ruvo::RegisterStartupCursors();

    ruvo::TForm1 form;
    ruvo::TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &ruvo::TerminationSignals::terminationRequested, &form,
                     &ruvo::TForm1::quitForSession);
    form.adjustSize();
    if (const QScreen *screen = form.screen())
        form.move(screen->availableGeometry().center() - form.frameGeometry().center());
    form.show();
    return app.exec();
}
