#include "app/ruvoapplication.h"

#include "platform/cursortable.h"

int runMainWindowTests(int argc, char **argv);
int runErrorHandlerTests(int argc, char **argv);
int runPerpetualCalendarTests(int argc, char **argv);

int main(int argc, char **argv)
{
    ruvo::RuvoApplication app(argc, argv);
    ruvo::RegisterStartupCursors();
    int failures = 0;
    failures += runMainWindowTests(argc, argv);
    failures += runErrorHandlerTests(argc, argv);
    failures += runPerpetualCalendarTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
