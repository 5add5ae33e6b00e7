// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "probe.h"

#include "platform/colorvalue.h"
#include "widgets/tmagiclabel.h"
#include "widgets/tspeciallabel.h"

#include <QFontMetrics>
#include <QTest>

using namespace ruvo;
using probe::boundsOf;
using probe::countOf;
using probe::shot;

namespace {

// Distinct colours for each copy of the text, normal look and blink look.
constexpr QRgb kFace = qRgb(255, 0, 0);
constexpr QRgb kTop = qRgb(0, 255, 0);
constexpr QRgb kBottom = qRgb(0, 0, 255);
constexpr QRgb kBlinkFace = qRgb(255, 255, 0);
constexpr QRgb kBlinkTop = qRgb(255, 0, 255);
constexpr QRgb kBlinkBottom = qRgb(0, 255, 255);
constexpr QRgb kWhite = qRgb(255, 255, 255);

quint32 ref(QRgb rgb)
{
    return RgbToColorValue(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// Plain pixels make colour probes exact: no blending at glyph edges.
QFont testFont(int pixelSize)
{
    QFont font(QStringLiteral("Liberation Sans"), -1, QFont::Bold);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

class ReliefLabelTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_host = probe::makeHost(Qt::white); }
    void cleanup() { m_host.reset(); }

    void copiesAtTheirOffsets_data();
    void copiesAtTheirOffsets();
    void disabled_allCopiesGrey();
    void background();
    void blinkLook_data();
    void blinkLook();
    void emptiedCaption_stillDrawn_data();
    void emptiedCaption_stillDrawn();
    void size_data();
    void size();
    void textLayout();

private:
    // A label with the test colours, on the white window; the test drives the blink ticks.
    ReliefLabel *makeLabel(bool special, const QString &caption, int pixelSize = 16)
    {
        ReliefLabel *label = special ? static_cast<ReliefLabel *>(new TSpecialLabel(m_host.get()))
                                     : new TMagicLabel(m_host.get());
        label->setFont(testFont(pixelSize));
        label->setFontColor(ref(kFace));
        label->setRaisedTopColor(ref(kTop));
        label->setRaisedBottomColor(ref(kBottom));
        label->setBlinkColor(ref(kBlinkFace));
        label->setBlinkTopColor(ref(kBlinkTop));
        label->setBlinkBottomColor(ref(kBlinkBottom));
        label->setProperty("BlinkSpeed", 30000);
        label->setGeometry(10, 10, 120, 40);
        label->setCaption(caption);
        label->show();
        return label;
    }

    // Bounding box of the face alone, highlight and shadow switched off for the moment.
    static QRect plainFace(ReliefLabel *label)
    {
        const bool top = label->RaisedTop();
        label->setRaisedTop(false);
        label->setRaisedBottom(false);
        const QRect face = boundsOf(shot(label), kFace);
        label->setRaisedTop(top);
        label->setRaisedBottom(true);
        return face;
    }

    std::unique_ptr<QWidget> m_host;
};

void ReliefLabelTest::copiesAtTheirOffsets_data()
{
    QTest::addColumn<Qt::Alignment>("alignment");
    QTest::addColumn<bool>("raisedTop");
    QTest::addColumn<int>("topDistance");
    QTest::addColumn<int>("bottomDistance");
    // Shifts against the face drawn alone: of the face's box, of the highlight's top-left and of
    // the shadow's bottom-right corner (the corners no other copy covers).
    QTest::addColumn<QPoint>("face");
    QTest::addColumn<QPoint>("top");
    QTest::addColumn<QPoint>("bottom");
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    QTest::newRow("top off, bottom 1, left")
        << left << false << 1 << 1 << QPoint(0, 0) << QPoint() << QPoint(1, 1);
    QTest::newRow("top off, bottom 1, right")
        << right << false << 1 << 1 << QPoint(-1, 0) << QPoint() << QPoint(0, 1);
    QTest::newRow("1 and 1, left")
        << left << true << 1 << 1 << QPoint(1, 1) << QPoint(0, 0) << QPoint(2, 2);
    QTest::newRow("1 and 1, right")
        << right << true << 1 << 1 << QPoint(-1, 1) << QPoint(-2, 0) << QPoint(0, 2);
    QTest::newRow("2 and 3, left")
        << left << true << 2 << 3 << QPoint(2, 2) << QPoint(0, 0) << QPoint(5, 5);
}

void ReliefLabelTest::copiesAtTheirOffsets()
{
    QFETCH(Qt::Alignment, alignment);
    QFETCH(bool, raisedTop);
    QFETCH(int, topDistance);
    QFETCH(int, bottomDistance);
    QFETCH(QPoint, face);
    QFETCH(QPoint, top);
    QFETCH(QPoint, bottom);
    ReliefLabel *label = makeLabel(false, QStringLiteral("Ruvo"));
    label->setAlignment(alignment);
    label->setRaisedTop(raisedTop);
    label->setRaisedTopDistance(topDistance);
    label->setRaisedBottomDistance(bottomDistance);
    const QRect plain = plainFace(label);
    QVERIFY(!plain.isEmpty());

    const QImage image = shot(label);
    QCOMPARE(boundsOf(image, kFace), plain.translated(face));
    QCOMPARE(boundsOf(image, kBottom).bottomRight(), plain.bottomRight() + bottom);
    if (raisedTop)
        QCOMPARE(boundsOf(image, kTop).topLeft(), plain.topLeft() + top);
    else
        QCOMPARE(countOf(image, kTop), 0);
}

void ReliefLabelTest::disabled_allCopiesGrey()
{
    ReliefLabel *label = makeLabel(false, QStringLiteral("Ruvo"));
    const QRect plain = plainFace(label);
    label->setEnabled(false);
    const QImage image = shot(label);
    const QRgb grey = m_host->palette().color(QPalette::Disabled, QPalette::Text).rgb();
    QCOMPARE(countOf(image, kFace) + countOf(image, kTop) + countOf(image, kBottom), 0);
    // From the highlight at offset 0 to the shadow at offset 2.
    QCOMPARE(boundsOf(image, grey), QRect(plain.topLeft(), plain.bottomRight() + QPoint(2, 2)));
}

void ReliefLabelTest::background()
{
    ReliefLabel *label = makeLabel(false, QString());
    const int area = label->width() * label->height();
    QCOMPARE(countOf(shot(label), kWhite), area); // the window's colour by default
    label->setColor(0xFF8000);                    // 0x00BBGGRR
    QCOMPARE(countOf(shot(label), qRgb(0, 128, 255)), area);
    label->setTransparent(true);
    QCOMPARE(countOf(shot(label), kWhite), area);
}

void ReliefLabelTest::blinkLook_data()
{
    QTest::addColumn<bool>("special");
    QTest::addColumn<bool>("blinkTransparent");
    QTest::newRow("magic, text vanishes") << false << true;
    QTest::newRow("magic, colours change") << false << false;
    QTest::newRow("special, text vanishes") << true << true;
    QTest::newRow("special, colours change") << true << false;
}

void ReliefLabelTest::blinkLook()
{
    QFETCH(bool, special);
    QFETCH(bool, blinkTransparent);
    const QString caption = QStringLiteral("Ruvo");
    ReliefLabel *label = makeLabel(special, caption);
    label->setBlinkTransparent(blinkTransparent);
    label->setBlink(true);
    const QSize normalSize = label->size();
    auto normalLook = [label] {
        const QImage image = shot(label);
        return countOf(image, kFace) > 0 && countOf(image, kTop) > 0 &&
               countOf(image, kBottom) > 0 && countOf(image, kBlinkFace) == 0;
    };
    QVERIFY(normalLook());

    probe::tick(label, "BlinkTimer");
    const QImage blink = shot(label);
    QCOMPARE(countOf(blink, kFace) + countOf(blink, kTop) + countOf(blink, kBottom), 0);
    if (blinkTransparent) {
        QCOMPARE(countOf(blink, kWhite), blink.width() * blink.height());
    } else {
        QVERIFY(countOf(blink, kBlinkFace) > 0 && countOf(blink, kBlinkTop) > 0);
        QVERIFY(countOf(blink, kBlinkBottom) > 0);
    }
    // The special label empties its caption for the vanished look, but keeps its size.
    QCOMPARE(label->Caption(), special && blinkTransparent ? QString() : caption);
    QCOMPARE(label->size(), normalSize);

    probe::tick(label, "BlinkTimer");
    QVERIFY(normalLook());
    QCOMPARE(label->Caption(), caption);

    // Reading Blink brings the normal look back at the next paint; so does stopping it.
    probe::tick(label, "BlinkTimer");
    QVERIFY(!normalLook());
    QCOMPARE(label->Blink(), true);
    QVERIFY(normalLook());
    probe::tick(label, "BlinkTimer");
    label->setBlink(false);
    QVERIFY(normalLook());

    // A speed of 0 never ticks.
    const auto *timer = label->findChild<QTimer *>(QStringLiteral("BlinkTimer"));
    label->setBlink(true);
    label->setProperty("BlinkSpeed", 0);
    QVERIFY(!timer->isActive() && label->Blink());
}

void ReliefLabelTest::emptiedCaption_stillDrawn_data()
{
    QTest::addColumn<bool>("special");
    QTest::addColumn<QString>("captionAfterPaint");
    QTest::newRow("magic draws its saved text") << false << QString();
    QTest::newRow("special takes its saved text back") << true << QStringLiteral("Ruvo");
}

void ReliefLabelTest::emptiedCaption_stillDrawn()
{
    QFETCH(bool, special);
    QFETCH(QString, captionAfterPaint);
    ReliefLabel *label = makeLabel(special, QStringLiteral("Ruvo"));
    const QRect before = boundsOf(shot(label), kFace);
    QVERIFY(!before.isEmpty());

    label->setCaption(QString());
    QCOMPARE(boundsOf(shot(label), kFace), before);
    QCOMPARE(label->Caption(), captionAfterPaint);

    // A blink cycle does not lose the text either.
    label->setBlink(true);
    probe::tick(label, "BlinkTimer");
    probe::tick(label, "BlinkTimer");
    QCOMPARE(boundsOf(shot(label), kFace), before);
}

void ReliefLabelTest::size_data()
{
    QTest::addColumn<bool>("special");
    QTest::addColumn<bool>("raisedTop");
    QTest::addColumn<int>("bottomDistance");
    QTest::addColumn<int>("extra"); // added to the caption's one-line extent; -1: size kept
    QTest::newRow("special, top off, bottom 2") << true << false << 2 << 2;
    QTest::newRow("special, 1 and 3") << true << true << 3 << 4;
    QTest::newRow("magic never resizes") << false << true << 1 << -1;
}

void ReliefLabelTest::size()
{
    QFETCH(bool, special);
    QFETCH(bool, raisedTop);
    QFETCH(int, bottomDistance);
    QFETCH(int, extra);
    ReliefLabel *label = makeLabel(special, QStringLiteral("Ruvo"), 48);
    label->setProperty("AutomaticSize", true);
    label->setRaisedTop(raisedTop);
    label->setRaisedBottomDistance(bottomDistance);
    label->setGeometry(23, -9, 268, 69);
    label->repaint();

    const QFontMetrics metrics(label->font());
    const QSize caption(metrics.horizontalAdvance(label->Caption()), metrics.height());
    QCOMPARE(label->size(), extra < 0 ? QSize(268, 69) : caption + QSize(extra, extra));
    QCOMPARE(label->pos(), QPoint(23, -9));
}

void ReliefLabelTest::textLayout()
{
    ReliefLabel *label = makeLabel(false, QStringLiteral("Ruvo Ruvo"));
    const QFontMetrics metrics(label->font());
    label->resize(metrics.horizontalAdvance(QStringLiteral("Ruvo")) + 4, 3 * metrics.height());
    QVERIFY2(plainFace(label).bottom() > metrics.height(), "breaks even without WordWrap");

    // Zero-width spaces put the one visible letter at position 255, then at 256.
    label->setCaption(QString(254, QChar(0x200B)) + u'W');
    QVERIFY(!plainFace(label).isEmpty());
    label->setCaption(QString(255, QChar(0x200B)) + u'W');
    QVERIFY(plainFace(label).isEmpty());

    // "&&" draws one "&"; "&" underlines the next letter, unless the marks are off.
    label->setCaption(QStringLiteral("R&V"));
    label->setShowAccelChar(false);
    const QImage single = shot(label);
    label->setCaption(QStringLiteral("&R&V"));
    const int plainBottom = boundsOf(shot(label), kFace).bottom();
    label->setShowAccelChar(true);
    QVERIFY(boundsOf(shot(label), kFace).bottom() > plainBottom);
    label->setCaption(QStringLiteral("R&&V"));
    QCOMPARE(shot(label), single);
}

QTEST_MAIN(ReliefLabelTest)

#include "tst_relieflabels.moc"
