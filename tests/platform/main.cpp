#include <QApplication>

int runSoundPlayerTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    failures += runSoundPlayerTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
