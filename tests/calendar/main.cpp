#include <QCoreApplication>

int runDateTextTests(int argc, char **argv);
int runWeekNumberTests(int argc, char **argv);
int runLanguageTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    failures += runDateTextTests(argc, argv);
    failures += runWeekNumberTests(argc, argv);
    failures += runLanguageTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
