#include <QApplication>

int runReliefLabelTests(int argc, char **argv);
int runBmpAnimeTests(int argc, char **argv);
int runAproposTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    failures += runReliefLabelTests(argc, argv);
    failures += runBmpAnimeTests(argc, argv);
    failures += runAproposTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
