#include "calendar/dateformat.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

int runCalendarPadTests(int argc, char **argv);
int runPadPaintingTests(int argc, char **argv);
int runPadImagesTests(int argc, char **argv);
int runDayFilesTests(int argc, char **argv);
int runPadNotesTests(int argc, char **argv);
int runPageTurningTests(int argc, char **argv);
int runFaultsTests(int argc, char **argv);
int runOutsideChangesTests(int argc, char **argv);

int main(int argc, char **argv)
{
    // Date texts and the system language as the tests expect them, whatever the machine's.
    qputenv("LC_ALL", "en_US.UTF-8");
    QApplication app(argc, argv);
    QApplication::setCursorFlashTime(0); // a blinking caret would make two grabs differ
    ruvo::setDateSeparator(u'/');
    ruvo::setShortDateFormat(QStringLiteral("dd/mm/yyyy"));
    // Pads keep their day files in the current folder: keep the tests' out of the build tree.
    const QTemporaryDir workFolder;
    QDir::setCurrent(workFolder.path());
    int failures = 0;
    failures += runCalendarPadTests(argc, argv);
    failures += runPadPaintingTests(argc, argv);
    failures += runPadImagesTests(argc, argv);
    failures += runDayFilesTests(argc, argv);
    failures += runPadNotesTests(argc, argv);
    failures += runPageTurningTests(argc, argv);
    failures += runFaultsTests(argc, argv);
    failures += runOutsideChangesTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
