// The program's start-up as app/main.cpp does it, ending at the first paint of the pad:
// application object, cursors, main window, termination signals, centring, show.

#include "firstpaintexit.h"

#include "app/ruvoapplication.h"
#include "app/tform1.h"
#include "pad/tcalendarpad.h"
#include "platform/cursortable.h"
#include "platform/terminationsignals.h"

#include <QScreen>

int main(int argc, char **argv)
{
    ruvo::RuvoApplication app(argc, argv);
    ruvo::RegisterStartupCursors();

    ruvo::TForm1 form;
    ruvobench::FirstPaintExit exitAtFirstPaint(form.CP());
    ruvo::TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &ruvo::TerminationSignals::terminationRequested, &form,
                     &ruvo::TForm1::quitForSession);
    form.adjustSize();
    if (const QScreen *screen = form.screen())
        form.move(screen->availableGeometry().center() - form.frameGeometry().center());
    form.show();
    const int code = app.exec();
    // The size the bare window copies; printed so a change of the menu bar shows up.
    if (qEnvironmentVariableIsSet("RUVO_BENCH_PRINT_SIZE"))
        qInfo("window %dx%d", form.width(), form.height());
    return code;
}
