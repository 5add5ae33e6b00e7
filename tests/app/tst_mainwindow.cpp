#include "app/tform1.h"

#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "pad/tcalendarpad.h"

#include <QDir>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_savedDir = QDir::currentPath();
        setDateSeparator(u'/');
    }
    void cleanup()
    {
        QDir::setCurrent(m_savedDir);
        setDateSeparator(u'/');
    }

    void clientAreaIsThePage();
    void cannotBeResizedOrMaximised();
    void startFolderIsTheCurrentFolder_data();
    void startFolderIsTheCurrentFolder();
    void storedPadValues();
    void showsTodayOnceShown_data();
    void showsTodayOnceShown();
    void setsTheDatePatterns();

private:
    QString m_savedDir;
};

void MainWindowTest::clientAreaIsThePage()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("Ruvo"));
    QCOMPARE(form.centralWidget()->size(), QSize(387, 278));
    QCOMPARE(form.CP()->geometry(), QRect(0, 0, 387, 278));
    QCOMPARE(form.centralWidget()->y(), form.menuBar()->height());
    QCOMPARE(form.height(), form.menuBar()->height() + 278);
    QVERIFY(!form.windowIcon().isNull());
}

void MainWindowTest::cannotBeResizedOrMaximised()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSize size = form.size();
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form.minimumSize(), size);
    QCOMPARE(form.maximumSize(), size);
    form.resize(600, 500);
    QCOMPARE(form.size(), size);
    form.showMaximized();
    QCOMPARE(form.centralWidget()->size(), QSize(387, 278));
}

void MainWindowTest::startFolderIsTheCurrentFolder_data()
{
    QTest::addColumn<bool>("root");
    QTest::newRow("a folder") << false;
    QTest::newRow("the root") << true;
}

void MainWindowTest::startFolderIsTheCurrentFolder()
{
    QFETCH(bool, root);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = root ? QStringLiteral("/") : QDir(dir.path()).canonicalPath();
    QVERIFY(QDir::setCurrent(folder));
    TForm1 form;
    const QString expected = folder + u'/';
    QCOMPARE(form.StartDir(), expected);
    QCOMPARE(form.CP()->Directory(), expected);
    QCOMPARE(form.CP()->SoundFileName(), expected + u"paper.wav");
    QCOMPARE(form.HelpFile(), expected + u"DOCFR.HLP");
}

void MainWindowTest::storedPadValues()
{
    TForm1 form;
    TCalendarPad *pad = form.CP();
    QCOMPARE(pad->ExtensionFile(), QStringLiteral("ruv"));
    QCOMPARE(pad->StartTime(), 7);
    QCOMPARE(pad->DestroyDelay(), 30);
    QCOMPARE(pad->Language(), laDefault);
    QVERIFY(pad->SoundEffect());
    QCOMPARE(pad->DateBackgroundColor(), 0x0000FFu);
    QCOMPARE(pad->CurrentTimeColor(), 0x0000FFu);
    // The window's own background replaces the built-in page.
    QCOMPARE(pad->Background().size(), QSize(387, 278));
    QCOMPARE(pad->Background().depth() >= 24, true);
}

void MainWindowTest::showsTodayOnceShown_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::newRow("slash") << QChar(u'/');
    QTest::newRow("dot") << QChar(u'.');
}

void MainWindowTest::showsTodayOnceShown()
{
    QFETCH(QChar, separator);
    setDateSeparator(separator);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QDate today = QDate::currentDate();
    const QString expected = QString::number(today.day()).rightJustified(2, u'0') + separator +
                             QString::number(today.month()).rightJustified(2, u'0') + separator +
                             QString::number(today.year());
    QCOMPARE(form.CP()->Date(), expected);
    // Hiding and showing again does not go back to today.
    form.CP()->setDate(AddDays(expected, 1));
    form.hide();
    form.show();
    QCOMPARE(form.CP()->Date(), AddDays(expected, 1));
}

void MainWindowTest::setsTheDatePatterns()
{
    setShortDateFormat(QStringLiteral("d/m/yy"));
    setLongDateFormat(QStringLiteral("d/m/yy"));
    TForm1 form;
    QCOMPARE(ShortDateFormat(), QStringLiteral("dd/mm/yyyy"));
    QCOMPARE(LongDateFormat(), QStringLiteral("dd/mm/yyyy"));
}

int runMainWindowTests(int argc, char **argv)
{
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
