#include "instancelock.h"
#include "ruvoapplication.h"
#include "startedwindow.h"

#include <QDir>
#include <QMessageBox>

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

    ruvo::StartedWindow window;
    window.show();
    return app.exec();
}
