// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ruvotestmain.h"

#include "pad/padtestsupport.h"

#include "app/searchwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ruvo;
using padtest::writeBytes;

namespace {

QStringList shownRows(const SearchWindow &window)
{
    QStringList rows;
    const QAbstractItemModel *model = window.results()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString();
    return rows;
}

// A window over the folder, as the page opens it: French, the first hour at 07:00.
struct OpenWindow
{
    explicit OpenWindow(const QString &folder, TLanguage language = laFrench)
    {
        window.setFolder(folder, QStringLiteral("ruv"));
        window.setLanguage(language);
        window.setStartTime(7);
        window.setToday(QDate(2026, 12, 8));
        window.show();
    }
    void type(const QString &text) { QTest::keyClicks(window.field(), text); }
    SearchWindow window;
};

} // namespace

class SearchWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rowsFollowTheTyping_data();
    void rowsFollowTheTyping();
    void enter_choosesTheResult();
    void unreadableFile_isNamedUnderTheResults();

private:
    QTemporaryDir m_dir;
};

void SearchWindowTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    writeBytes(m_dir.filePath(QStringLiteral("061226N.ruv")),
               "Appeler H\xc3\xa9l\xc3\xa8ne\r\n\r\nR\xc3\xa9union budget\r\n");
    writeBytes(m_dir.filePath(QStringLiteral("061226T.ruv")),
               "\r\nREUNION salle 3\r\n" + QByteArray("\r\n").repeated(15));
    writeBytes(m_dir.filePath(QStringLiteral("311299T.ruv")),
               "dentiste\r\n" + QByteArray("\r\n").repeated(16));
}

void SearchWindowTest::rowsFollowTheTyping_data()
{
    QTest::addColumn<TLanguage>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("status");

    QTest::newRow("notes, then an hour entry")
        << laFrench << "reunion"
        << QStringList{u"Dimanche 6 Décembre 2026: Réunion budget"_qs,
                       u"Dimanche 6 Décembre 2026 08:00: REUNION salle 3"_qs}
        << "";
    QTest::newRow("the page's language, the first hour")
        << laEnglish << "DENT" << QStringList{"Friday 31 December 1999 07:00: dentiste"} << "";
    QTest::newRow("nothing found")
        << laGerman << "absent" << QStringList{} << "Kein Tag enthält diesen Text";
}

void SearchWindowTest::rowsFollowTheTyping()
{
    QFETCH(TLanguage, language);
    QFETCH(QString, typed);
    QFETCH(QStringList, rows);
    QFETCH(QString, status);
    OpenWindow open(m_dir.path(), language);
    open.type(typed);
    QTRY_COMPARE(shownRows(open.window), rows);
    QTRY_COMPARE(open.window.status()->isVisible() ? open.window.status()->text() : QString(),
                 status);
}

void SearchWindowTest::enter_choosesTheResult()
{
    OpenWindow open(m_dir.path());
    QSignalSpy chosen(&open.window, &SearchWindow::resultChosen);
    open.type(QStringLiteral("REUNION"));
    QTRY_COMPARE(open.window.results()->model()->rowCount(), 2);

    QTest::keyClick(open.window.field(), Qt::Key_Return);
    QTest::keyClick(open.window.field(), Qt::Key_Down);
    QTest::keyClick(open.window.field(), Qt::Key_Enter);
    open.window.results()->setFocus();
    QTest::keyClick(open.window.results(), Qt::Key_Up);
    QTest::keyClick(open.window.results(), Qt::Key_Return);

    const QDate day(2026, 12, 6);
    const QList<QVariantList> expected{
        {day, QVariant::fromValue(DayFileKind::Notes), 2, 0, 7},
        {day, QVariant::fromValue(DayFileKind::TimeFields), 1, 0, 7},
        {day, QVariant::fromValue(DayFileKind::Notes), 2, 0, 7},
    };
    QCOMPARE(chosen, expected);
    QVERIFY(open.window.isVisible());
}

void SearchWindowTest::unreadableFile_isNamedUnderTheResults()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath(QStringLiteral("061226N.ruv")), "budget\r\n");
    const QString large = dir.filePath(QStringLiteral("071226N.ruv"));
    writeBytes(large, "budget " + QByteArray(256 * 1024, 'x'));
    OpenWindow open(dir.path());
    open.type(QStringLiteral("budget"));
    QTRY_VERIFY(open.window.status()->isVisible());
    QCOMPARE(shownRows(open.window), QStringList{u"Dimanche 6 Décembre 2026: budget"_qs});
    QCOMPARE(open.window.status()->text(), u"Ne peut ouvrir le fichier "_qs + large);
}

RUVO_TEST_MAIN(SearchWindowTest)
#include "tst_searchwindow.moc"
