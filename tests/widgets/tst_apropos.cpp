// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "probe.h"

#include "platform/cursortable.h"
#include "platform/programlinks.h"
#include "widgets/tapropos.h"
#include "widgets/tbmpanime.h"
#include "widgets/tmagiclabel.h"
#include "widgets/tspeciallabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QUrl>

#include <algorithm>

using namespace ruvo;

namespace {

// Stands in for the browser: every web address the program opens ends up here, so that no
// browser ever starts.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.append(url); }
};

// A modal showing that a broken close would leave running ends with this instead.
constexpr int kStuck = 42;

} // namespace

class AproposTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void titleBarOnly_fixedSize();
    void showing_centredOnScreen();
    void closing_endsModalShowing_data();
    void closing_endsModalShowing();
    void webLink_asksFirst_data();
    void webLink_asksFirst();
    void bmpAnime2_playsTwelveFramesAt80ms();
    void components_data();
    void components();
    void productName_centredAboveCredit();
    void animations_lieAboveLabels();
    void colours_data();
    void colours();
    void checkBox_textAndStateKeptAcrossShowings();

private:
    template<typename T> T *child(const char *name) const
    {
        return m_box->findChild<T *>(QLatin1StringView(name));
    }
    void showBox()
    {
        m_box->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
    }
    // Clicks a button of the next modal box by its text, from inside that box's own loop.
    void answerNextQuestion(const QString &answer)
    {
        QTimer::singleShot(0, this, [this, answer] {
            auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!question)
                return;
            m_questionTitle = question->windowTitle();
            for (QPushButton *button : question->findChildren<QPushButton *>()) {
                if (button->text() == answer)
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        });
    }
    int execGuarded()
    {
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, m_box.get(), [this] { m_box->done(kStuck); });
        guard.start(10000);
        return m_box->exec();
    }

    UrlRecorder m_browser;
    std::unique_ptr<QWidget> m_owner; // outlives the box it owns
    std::unique_ptr<Tapropos> m_box;
    QString m_questionTitle;
};

void AproposTest::initTestCase()
{
    RegisterStartupCursors();
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_browser, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_browser, "open");
}

void AproposTest::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
}

void AproposTest::init()
{
    m_box = std::make_unique<Tapropos>();
}

void AproposTest::cleanup()
{
    m_box.reset();
    m_owner.reset();
    m_browser.opened.clear();
    m_questionTitle.clear();
}

void AproposTest::titleBarOnly_fixedSize()
{
    QCOMPARE(m_box->objectName(), QStringLiteral("apropos"));
    QCOMPARE(m_box->windowTitle(), QStringLiteral("A propos"));
    const Qt::WindowFlags flags = m_box->windowFlags();
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    for (const Qt::WindowType icon :
         {Qt::WindowCloseButtonHint, Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
          Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint})
        QVERIFY(!(flags & icon));
    QCOMPARE(m_box->minimumSize(), QSize(314, 381));
    QCOMPARE(m_box->maximumSize(), QSize(314, 381));
    QVERIFY(!m_box->isVisible());
}

void AproposTest::showing_centredOnScreen()
{
    // Also when the main window that owns it sits in a corner.
    m_owner = std::make_unique<QWidget>();
    m_owner->setGeometry(0, 0, 120, 80);
    m_owner->show();
    m_box = std::make_unique<Tapropos>(m_owner.get());
    showBox();
    const QPoint offset =
        m_box->frameGeometry().center() - m_box->screen()->availableGeometry().center();
    QVERIFY(offset.manhattanLength() <= 2);
}

void AproposTest::closing_endsModalShowing_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("click on the picture") << false;
    QTest::newRow("Escape") << true;
}

void AproposTest::closing_endsModalShowing()
{
    QFETCH(bool, byEscape);
    const QPointer<Tapropos> box = m_box.get();
    auto *picture = child<QLabel>("tf2");
    // Twice: the box is hidden, not destroyed, and shows again.
    for (int showing = 0; showing < 2; ++showing) {
        QTimer::singleShot(0, this, [&] {
            if (byEscape)
                QTest::keyClick(m_box.get(), Qt::Key_Escape);
            else
                QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(88, 16));
        });
        QCOMPARE(execGuarded(), int(QDialog::Rejected));
        QVERIFY(box);
        QVERIFY(!m_box->isVisible());
    }
}

void AproposTest::webLink_asksFirst_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("opened");
    QTest::newRow("animation, Annuler") << "BmpAnime2"
                                        << "Annuler" << 0;
    QTest::newRow("animation, OK") << "BmpAnime2"
                                   << "OK" << 1;
    QTest::newRow("link text, Annuler") << "MagicLabel1"
                                        << "Annuler" << 0;
    QTest::newRow("link text, OK") << "MagicLabel1"
                                   << "OK" << 1;
}

void AproposTest::webLink_asksFirst()
{
    QFETCH(QString, link);
    QFETCH(QString, answer);
    QFETCH(int, opened);
    bool openAfterAnswer = false;
    // The way a user meets it: the question comes over the modal about box.
    QTimer::singleShot(0, this, [&] {
        answerNextQuestion(answer);
        QTest::mouseClick(m_box->findChild<QWidget *>(link), Qt::LeftButton);
        openAfterAnswer = m_box->isVisible();
        QTest::mouseClick(child<QLabel>("tf2"), Qt::LeftButton);
    });
    QCOMPARE(execGuarded(), int(QDialog::Rejected));
    QCOMPARE(m_questionTitle, QStringLiteral("Confirmation"));
    QVERIFY(openAfterAnswer);
    QCOMPARE(m_browser.opened.size(), opened);
    if (opened)
        QCOMPARE(m_browser.opened.first(), QUrl(QString::fromLatin1(kWebSiteAddress)));
}

void AproposTest::bmpAnime2_playsTwelveFramesAt80ms()
{
    auto *anime = child<TBmpAnime>("BmpAnime2");
    QCOMPARE(anime->ImageList().count(), 12);
    QCOMPARE(anime->AnimationSpeed(), 80);
    // It plays from creation on, while the box is still hidden.
    QVERIFY(!m_box->isVisible());
    const int hiddenStart = anime->FrameIndex();
    QTRY_VERIFY(anime->FrameIndex() != hiddenStart);

    // From here the test drives the ticks.
    anime->setActive(false);
    showBox();
    // Each tick puts the next picture on screen; the twelfth brings the first back.
    QImage previous = probe::shot(anime);
    const QImage first = previous;
    const int start = anime->FrameIndex();
    for (int step = 1; step <= 12; ++step) {
        probe::tick(anime, "FrameTimer");
        QCOMPARE(anime->FrameIndex(), (start + step) % 12);
        const QImage now = probe::shot(anime);
        if (step < 12)
            QVERIFY(now != previous);
        previous = now;
    }
    QCOMPARE(previous, first);
}

void AproposTest::components_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("hand");
    QTest::newRow("notice") << "MagicLabel2" << QRect(42, 90, 231, 56) << true << false;
    QTest::newRow("link text") << "MagicLabel1" << QRect(101, 200, 111, 51) << true << true;
    QTest::newRow("address") << "MagicLabel4" << QRect(54, 275, 206, 26) << true << false;
    QTest::newRow("question") << "MagicLabel5" << QRect(54, 260, 206, 21) << true << false;
    QTest::newRow("picture") << "tf2" << QRect(69, 310, 176, 32) << true << true;
    QTest::newRow("globe") << "BmpAnime2" << QRect(137, 158, 39, 42) << true << true;
    // The way to the sibling program stays out of reach.
    QTest::newRow("other programs") << "MagicLabel3" << QRect(10, 285, 71, 51) << false << true;
    QTest::newRow("other programs' animation")
        << "BmpAnime17" << QRect(16, 290, 50, 40) << false << true;
}

void AproposTest::components()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, visible);
    QFETCH(bool, hand);
    showBox();
    QCOMPARE(m_box->size(), QSize(314, 381));
    const QWidget *widget = m_box->findChild<QWidget *>(name);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isVisible(), visible);
    const QCursor topHand = CursorByNumber(crTopHand);
    QCOMPARE(topHand.shape(), Qt::BitmapCursor);
    const bool handCursor = widget->cursor().shape() == Qt::BitmapCursor &&
                            widget->cursor().hotSpot() == topHand.hotSpot() &&
                            widget->cursor().bitmap().toImage() == topHand.bitmap().toImage();
    QCOMPARE(handCursor, hand);
}

void AproposTest::productName_centredAboveCredit()
{
    showBox();
    auto *name = child<TSpecialLabel>("SpecialLabel1");
    auto *credit = child<TSpecialLabel>("SpecialLabel2");
    QCOMPARE(name->Caption(), QStringLiteral("Ruvo"));
    QCOMPARE(name->RaisedBottomDistance(), 2);
    // Fitted to their captions at their first paint, both stay on the window's axis.
    for (const TSpecialLabel *label : {name, credit})
        QVERIFY(qAbs(label->geometry().center().x() - 157) <= 1);
    QCOMPARE(name->y(), -9);
    QCOMPARE(credit->y(), 61);
    QCOMPARE(name->height(), QFontMetrics(name->font()).height() + 2);
    // The credit is one line: its last word is not broken off onto a line that is cut away,
    // so its ink reaches the label's right end.
    const QImage creditShot = probe::shot(credit);
    int inkRight = -1;
    for (int y = 0; y < creditShot.height(); ++y) {
        for (int x = 0; x < creditShot.width(); ++x) {
            if (qGray(creditShot.pixel(x, y)) < 128)
                inkRight = std::max(inkRight, x);
        }
    }
    QVERIFY(inkRight >= credit->width() - 4);
}

void AproposTest::animations_lieAboveLabels()
{
    // Where an animation overlaps a label, the animation takes the clicks.
    auto *label = child<TMagicLabel>("MagicLabel3");
    auto *anime = child<TBmpAnime>("BmpAnime17");
    label->show();
    anime->show();
    QCOMPARE(m_box->childAt(30, 300), anime);
    // The transparent question line lies over the opaque address it overlaps.
    QCOMPARE(m_box->childAt(157, 278), child<QWidget>("MagicLabel5"));
}

void AproposTest::colours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("name in red") << "SpecialLabel1" << qRgb(255, 0, 0);
    QTest::newRow("name's silver shadow") << "SpecialLabel1" << qRgb(192, 192, 192);
    QTest::newRow("notice in red") << "MagicLabel2" << qRgb(255, 0, 0);
    QTest::newRow("address in blue") << "MagicLabel4" << qRgb(0, 0, 255);
    QTest::newRow("white around the link") << "MagicLabel1" << qRgb(255, 255, 255);
}

void AproposTest::colours()
{
    QFETCH(QString, name);
    QFETCH(QRgb, colour);
    showBox();
    QVERIFY(probe::countOf(probe::shot(m_box->findChild<QWidget *>(name)), colour) > 10);
}

void AproposTest::checkBox_textAndStateKeptAcrossShowings()
{
    QCheckBox *box = m_box->afficher();
    QCOMPARE(box, child<QCheckBox>("afficher"));
    QCOMPARE(box->text(), QStringLiteral("Ne plus afficher cette fenêtre."));
    QVERIFY(!box->isChecked());
    QCOMPARE(box->pos(), QPoint(6, 355));
    QVERIFY(box->width() >= box->sizeHint().width()); // the whole text shows

    QTimer::singleShot(0, this, [&] {
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(child<QLabel>("tf2"), Qt::LeftButton);
    });
    QCOMPARE(execGuarded(), int(QDialog::Rejected));
    QVERIFY(box->isChecked());
    QTimer::singleShot(0, this, [&] { QTest::mouseClick(child<QLabel>("tf2"), Qt::LeftButton); });
    QCOMPARE(execGuarded(), int(QDialog::Rejected));
    QVERIFY(box->isChecked());
}

QTEST_MAIN(AproposTest)

#include "tst_apropos.moc"
