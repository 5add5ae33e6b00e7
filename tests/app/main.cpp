#include "app/ruvoapplication.h"

#include "platform/cursortable.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

int runMainWindowTests(int argc, char **argv);
int runErrorHandlerTests(int argc, char **argv);
int runPerpetualCalendarTests(int argc, char **argv);
int runInstanceLockTests(int argc, char **argv);

int main(int argc, char **argv)
{
    ruvo::RuvoApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // never the user's own settings file
    ruvo::RegisterStartupCursors();
    // Pads keep their day files in the current folder: keep the tests' out of the build tree.
    const QTemporaryDir workFolder;
    QDir::setCurrent(workFolder.path());
    int failures = 0;
    failures += runMainWindowTests(argc, argv);
    failures += runErrorHandlerTests(argc, argv);
    failures += runPerpetualCalendarTests(argc, argv);
    failures += runInstanceLockTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
