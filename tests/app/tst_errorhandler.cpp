// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ruvotestmain.h"

#include "app/ruvoapplication.h"

#include "calendar/error.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

using namespace ruvo;

namespace {

// Throws the program's error from its event handler, as a widget with a bad date does.
class ThrowingObject final : public QObject
{
public:
    explicit ThrowingObject(QString message) : m_message(std::move(message)) {}
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw Error(m_message);
        return QObject::event(event);
    }

private:
    QString m_message;
};

QList<QMessageBox *> openBoxes()
{
    QList<QMessageBox *> boxes;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            boxes << box;
    }
    return boxes;
}

} // namespace

class ErrorHandlerTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (QMessageBox *box : openBoxes())
            box->close();
        QTRY_VERIFY(openBoxes().isEmpty());
    }

    void errorIsShownAfterTheEvent();
    void sameMessageIsNotStacked();
};

void ErrorHandlerTest::errorIsShownAfterTheEvent()
{
    auto *app = qobject_cast<RuvoApplication *>(qApp);
    QVERIFY(app);
    QSignalSpy shown(app, &RuvoApplication::errorShown);
    ThrowingObject thrower(QStringLiteral("'31/02/1998' is not a valid date"));
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event); // must not throw out of here
    QCOMPARE(shown.count(), 0);                    // not while the event runs
    QTRY_COMPARE(shown.count(), 1);
    const QList<QMessageBox *> boxes = openBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first()->text(), QStringLiteral("'31/02/1998' is not a valid date"));
}

void ErrorHandlerTest::sameMessageIsNotStacked()
{
    auto *app = qobject_cast<RuvoApplication *>(qApp);
    ThrowingObject first(QStringLiteral("Ne peut créer le fichier /x/060398N.ruv"));
    ThrowingObject other(QStringLiteral("Ne peut ouvrir le fichier /x/060398N.ruv"));
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&first, &event);
    QCoreApplication::sendEvent(&first, &event);
    QCoreApplication::sendEvent(&other, &event);
    QTRY_COMPARE(openBoxes().size(), 2);
    QCoreApplication::processEvents();
    QCOMPARE(openBoxes().size(), 2);
    QCOMPARE(app->shownMessages().size(), 2);

    // Once its box is closed, the same message may show again.
    for (QMessageBox *box : openBoxes())
        box->close();
    QTRY_VERIFY(app->shownMessages().isEmpty());
    QCoreApplication::sendEvent(&first, &event);
    QTRY_COMPARE(openBoxes().size(), 1);
}

RUVO_TEST_MAIN(ErrorHandlerTest)

#include "tst_errorhandler.moc"
