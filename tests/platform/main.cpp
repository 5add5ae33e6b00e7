#include <QApplication>

int runSettingsFileTests(int argc, char **argv);
int runShellOpenTests(int argc, char **argv);
int runSoundPlayerTests(int argc, char **argv);
int runTerminationSignalsTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    failures += runSettingsFileTests(argc, argv);
    failures += runShellOpenTests(argc, argv);
    failures += runSoundPlayerTests(argc, argv);
    failures += runTerminationSignalsTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
