// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/cursorhotspots.h"
#include "platform/cursortable.h"

#include <QBitmap>
#include <QTest>

using namespace ruvo;

class CursorTableTest : public QObject
{
    Q_OBJECT

private slots:
    void givesTheArrowForUnknownNumbers_data();
    void givesTheArrowForUnknownNumbers();
    void registeringReplacesAndNullRemoves();
    void loadersRunOnFirstUseOnly_data();
    void loadersRunOnFirstUseOnly();
    void cursorFromBitmaps_blackIsBlackAndTheMaskDecides();
    void startupCursors_endWithTheRealHands();
};

void CursorTableTest::givesTheArrowForUnknownNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("shape");

    QTest::newRow("0") << 0 << int(Qt::ArrowCursor);
    QTest::newRow("unknown") << 4321 << int(Qt::ArrowCursor);
    QTest::newRow("unknown negative") << -30000 << int(Qt::ArrowCursor);
    QTest::newRow("-1 is none") << -1 << int(Qt::BlankCursor);
}

void CursorTableTest::givesTheArrowForUnknownNumbers()
{
    QFETCH(int, number);
    QFETCH(int, shape);
    QCOMPARE(int(CursorByNumber(qint16(number)).shape()), shape);
}

void CursorTableTest::registeringReplacesAndNullRemoves()
{
    constexpr qint16 number = 1234;
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(Qt::black);
    RegisterCursor(number, CursorFromBitmaps(picture, picture, QPoint(1, 11)));
    QCOMPARE(CursorByNumber(number).hotSpot(), QPoint(1, 11));
    RegisterCursor(number, CursorFromBitmaps(picture, picture, QPoint(29, 11)));
    QCOMPARE(CursorByNumber(number).hotSpot(), QPoint(29, 11));
    RegisterCursor(number, std::nullopt);
    QCOMPARE(CursorByNumber(number).shape(), Qt::ArrowCursor);
}

void CursorTableTest::loadersRunOnFirstUseOnly_data()
{
    QTest::addColumn<bool>("loaderMakesOne");
    QTest::addColumn<bool>("replacedBeforeUse");
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("loads");

    QTest::newRow("used") << true << false << int(Qt::BitmapCursor) << 1;
    QTest::newRow("resource missing") << false << false << int(Qt::ArrowCursor) << 1;
    QTest::newRow("replaced before use") << true << true << int(Qt::CrossCursor) << 0;
}

// The start-up steps register cursors that are decoded when first asked for; one replaced
// before that is never decoded, and a loader that finds nothing leaves the number unknown.
void CursorTableTest::loadersRunOnFirstUseOnly()
{
    QFETCH(bool, loaderMakesOne);
    QFETCH(bool, replacedBeforeUse);
    QFETCH(int, shape);
    QFETCH(int, loads);
    constexpr qint16 number = 2345;
    CursorTable *table = CursorTable::instance();
    int loaded = 0;
    table->registerCursor(number, [&]() -> std::optional<QCursor> {
        ++loaded;
        if (!loaderMakesOne)
            return std::nullopt;
        return LoadCursorByName(QStringLiteral("TopHand"));
    });
    if (replacedBeforeUse)
        table->registerCursor(number, QCursor(Qt::CrossCursor));
    QCOMPARE(loaded, 0);
    QCOMPARE(table->isRegistered(number), loaderMakesOne || replacedBeforeUse);
    QCOMPARE(int(CursorByNumber(number).shape()), shape);
    QCOMPARE(int(CursorByNumber(number).shape()), shape);
    QCOMPARE(loaded, loads);
    RegisterCursor(number, std::nullopt);
}

void CursorTableTest::cursorFromBitmaps_blackIsBlackAndTheMaskDecides()
{
    QImage picture(32, 32, QImage::Format_Mono);
    picture.setColorTable(
        {qRgb(0, 0, 0), qRgb(255, 255, 255)}); // index 0 black: order must not matter
    picture.fill(1);
    picture.setPixel(5, 5, 0);   // black inside the mask
    picture.setPixel(20, 20, 0); // black outside it
    QImage mask(32, 32, QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            mask.setPixel(x, y, qRgb(0, 0, 0));

    const std::optional<QCursor> cursor = CursorFromBitmaps(picture, mask, QPoint(11, 3));
    QVERIFY(cursor);
    QCOMPARE(cursor->hotSpot(), QPoint(11, 3));
    const QImage bits = cursor->bitmap().toImage();
    const QImage shape = cursor->mask().toImage();
    QCOMPARE(QColor(bits.pixel(5, 5)), QColor(Qt::black)); // black, opaque
    QCOMPARE(QColor(shape.pixel(5, 5)), QColor(Qt::black));
    QCOMPARE(QColor(bits.pixel(6, 6)), QColor(Qt::white)); // white, opaque
    QCOMPARE(QColor(shape.pixel(6, 6)), QColor(Qt::black));
    QCOMPARE(QColor(bits.pixel(20, 20)), QColor(Qt::white)); // transparent, never inverting
    QCOMPARE(QColor(shape.pixel(20, 20)), QColor(Qt::white));
    QVERIFY(!CursorFromBitmaps(QImage(), mask, QPoint()));
}

void CursorTableTest::startupCursors_endWithTheRealHands()
{
    RegisterStartupCursors();
    // Where the hands point is checked against their pictures by the resources' tests.
    QCOMPARE(CursorByNumber(crLeftHand).hotSpot(), CursorHotSpotOf(u"LEFTHAND"));
    QCOMPARE(CursorByNumber(crRightHand).hotSpot(), CursorHotSpotOf(u"RIGHTHAND"));
    QCOMPARE(CursorByNumber(crTopHand).hotSpot(), CursorHotSpotOf(u"TOPHAND"));
    for (const auto &[number, name] :
         {std::pair{crLeftHand, "LeftHand"}, std::pair{crRightHand, "RightHand"},
          std::pair{crTopHand, "TopHand"}}) {
        const QImage real = LoadCursorByName(QLatin1StringView(name))->bitmap().toImage();
        const QImage draft = LoadCursorByName(QLatin1StringView(name) + u"_D")->bitmap().toImage();
        QCOMPARE(CursorByNumber(number).bitmap().toImage(), real);
        QVERIFY(real != draft); // else the order of the two steps would go unseen
    }
}

QTEST_MAIN(CursorTableTest)

#include "tst_cursortable.moc"
