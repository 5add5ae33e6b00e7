// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "padtestsupport.h"

#include "platform/colorvalue.h"
#include "platform/pointfont.h"
#include "platform/resourcebitmap.h"

#include <QAction>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPainter>

using namespace ruvo;
using padtest::grabPad;

namespace {

constexpr QRgb kProbe = qRgb(0, 200, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

// The bounding box of the pixels in area nearer the colour than a half-covered text pixel.
QRect inkBox(const QImage &image, const QRect &area, QRgb ink)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAbs(qRed(p) - qRed(ink)) + qAbs(qGreen(p) - qGreen(ink)) +
                    qAbs(qBlue(p) - qBlue(ink)) <
                160)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QRect labelCell(int row)
{
    return QRect(218, 19 + 14 * (row - 1), 28, 13);
}

} // namespace

class PadPaintingTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { padtest::initMain(); }

private slots:
    void initTestCase() { padtest::initTestCase(); }
    void init();
    void dayBlockAndRules_areWhereTheyBelong();
    void element_isDrawnInsideItsBox_data();
    void element_isDrawnInsideItsBox();
    void hourLabels_wrapByLanguage_data();
    void hourLabels_wrapByLanguage();
    void currentHour_marksLabelAndField_data();
    void currentHour_marksLabelAndField();
    void fixedSize_isRestoredAtOnce();
    void repaint_changesNothingOfThePad();
    void background_smallIsUnscaledAndEmptyIsBuiltIn();
    void keptTextLayouts_drawWhatDrawTextDraws();

private:
    std::unique_ptr<TCalendarPad> m_pad;
    QTime m_now;
};

void PadPaintingTest::init()
{
    m_now = QTime(3, 0); // off the scale unless a test moves it
    m_pad = std::make_unique<TCalendarPad>();
    QImage white(387, 278, QImage::Format_RGB32);
    white.fill(kWhite);
    m_pad->setBackground(white);
    m_pad->setLanguage(laEnglish);
    m_pad->setStartTime(7);
    m_pad->setDate(QStringLiteral("06/03/1998"));
    padtest::showPad(*m_pad, &m_now);
}

void PadPaintingTest::dayBlockAndRules_areWhereTheyBelong()
{
    const QImage page = grabPad(*m_pad);
    for (const QPoint edge : {QPoint(100, 18), QPoint(163, 18), QPoint(100, 75), QPoint(163, 75),
                              QPoint(130, 18), QPoint(100, 50), QPoint(163, 50)})
        QCOMPARE(page.pixel(edge), kWhite);
    for (const QPoint inside : {QPoint(101, 19), QPoint(162, 19), QPoint(101, 74), QPoint(162, 74)})
        QCOMPARE(page.pixel(inside), kRed);
    for (const QPoint outside : {QPoint(99, 40), QPoint(164, 40), QPoint(130, 17), QPoint(130, 76)})
        QCOMPARE(page.pixel(outside), kWhite);

    for (const int y : {80, 250}) // left of the hour labels
        QCOMPARE(inkBox(page, QRect(0, y - 1, 210, 3), kBlack), QRect(20, y, 145, 1));
}

void PadPaintingTest::element_isDrawnInsideItsBox_data()
{
    QTest::addColumn<QByteArray>("colorProperty");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<int>("anchorX");
    QTest::addColumn<int>("inkHeight");

    // Where the element's pixels must lie; the x it is hung from (centre, or right edge for
    // the day and week line); the height of its ink, which tells the font size.
    QTest::newRow("day number") << QByteArray("DateColor") << QRect(101, 20, 62, 44) << 133 << 26;
    QTest::newRow("weekday") << QByteArray("DayColor") << QRect(101, 60, 62, 15) << 133 << 10;
    QTest::newRow("month") << QByteArray("MonthColor") << QRect(20, 55, 81, 18) << 60 << 11;
    QTest::newRow("year") << QByteArray("YearColor") << QRect(20, 20, 81, 33) << 60 << 19;
    QTest::newRow("day and week line")
        << QByteArray("DayWeekColor") << QRect(40, 251, 125, 14) << 165 << 10;
    QTest::newRow("hour labels") << QByteArray("TimeColor") << QRect(218, 19, 28, 238) << -1 << 232;
}

void PadPaintingTest::element_isDrawnInsideItsBox()
{
    QFETCH(QByteArray, colorProperty);
    QFETCH(QRect, box);
    QFETCH(int, anchorX);
    QFETCH(int, inkHeight);

    m_pad->setProperty(colorProperty.constData(), RgbToColorValue(0, 200, 0));
    const QImage page = grabPad(*m_pad);
    const QRect found = inkBox(page, page.rect(), kProbe);
    QVERIFY2(box.contains(found), qPrintable(QStringLiteral("drawn at %1,%2 %3x%4")
                                                 .arg(found.x())
                                                 .arg(found.y())
                                                 .arg(found.width())
                                                 .arg(found.height())));
    QVERIFY(qAbs(found.height() - inkHeight) <= 2);
    if (anchorX == 165)
        QVERIFY(found.right() < 165 && found.right() >= 161);
    else if (anchorX >= 0)
        QVERIFY(qAbs(found.center().x() - anchorX) <= 2);
}

void PadPaintingTest::hourLabels_wrapByLanguage_data()
{
    QTest::addColumn<int>("startTime");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("hours");

    // clang-format off
    QTest::newRow("7 French")   << 7  << int(laFrench)  << "07 08 09 10 11 12 13 14 15 16 17 18 19 20 21 22 23";
    QTest::newRow("7 English")  << 7  << int(laEnglish) << "07 08 09 10 11 12 01 02 03 04 05 06 07 08 09 10 11";
    QTest::newRow("8 French")   << 8  << int(laFrench)  << "08 09 10 11 12 13 14 15 16 17 18 19 20 21 22 23 00";
    QTest::newRow("8 English")  << 8  << int(laEnglish) << "08 09 10 11 12 01 02 03 04 05 06 07 08 09 10 11 12";
    QTest::newRow("20 English") << 20 << int(laEnglish) << "08 09 10 11 12 01 02 03 04 05 06 07 08 09 10 11 12";
    QTest::newRow("20 French")  << 20 << int(laFrench)  << "20 21 22 23 00 01 02 03 04 05 06 07 08 09 10 11 12";
    QTest::newRow("0 English")  << 0  << int(laEnglish) << "00 01 02 03 04 05 06 07 08 09 10 11 12 01 02 03 04";
    QTest::newRow("20 default") << 20 << int(laDefault) << "20 21 22 23 00 01 02 03 04 05 06 07 08 09 10 11 12";
    // clang-format on
}

void PadPaintingTest::hourLabels_wrapByLanguage()
{
    QFETCH(int, startTime);
    QFETCH(int, language);
    QFETCH(QString, hours);

    const auto labels = HourScaleLabels(startTime, TLanguage(language));
    QCOMPARE(QStringList(labels.begin(), labels.end()).join(u' '),
             hours.replace(u' ', QStringLiteral(":00 ")) + u":00");

    // The page shows those labels: a row's pixels match any other row of the same text and
    // differ from a row of another text.
    m_now = QTime(); // no row marked
    m_pad->setStartTime(startTime);
    m_pad->setLanguage(TLanguage(language));
    const QImage page = grabPad(*m_pad);
    for (int a = 0; a < 17; ++a) {
        for (int b = a + 1; b < 17; ++b)
            QCOMPARE(page.copy(labelCell(a + 1)) == page.copy(labelCell(b + 1)),
                     labels[std::size_t(a)] == labels[std::size_t(b)]);
    }
}

void PadPaintingTest::currentHour_marksLabelAndField_data()
{
    QTest::addColumn<int>("startTime");
    QTest::addColumn<int>("language");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<int>("currentRow");

    QTest::newRow("14:30 from 7") << 7 << int(laEnglish) << QTime(14, 30) << 8;
    QTest::newRow("00:10 from 8, French") << 8 << int(laFrench) << QTime(0, 10) << 17;
    QTest::newRow("14:30 from 8, English: 02:00") << 8 << int(laEnglish) << QTime(14, 30) << 7;
    QTest::newRow("02:30 from 8, English: none") << 8 << int(laEnglish) << QTime(2, 30) << 0;
    QTest::newRow("06:59 from 7: none") << 7 << int(laFrench) << QTime(6, 59) << 0;
}

void PadPaintingTest::currentHour_marksLabelAndField()
{
    QFETCH(int, startTime);
    QFETCH(int, language);
    QFETCH(QTime, now);
    QFETCH(int, currentRow);

    m_pad->setStartTime(startTime);
    m_pad->setLanguage(TLanguage(language));
    for (int row = 1; row <= 17; ++row)
        m_pad->TimeFields(row)->setText(QStringLiteral("MMMM"));
    m_now = now;
    m_pad->RefreshTimeScale(); // the clock's tick alone moves the mark
    const QImage page = grabPad(*m_pad);
    for (int row = 1; row <= 17; ++row) {
        const bool current = row == currentRow;
        QCOMPARE(inkBox(page, labelCell(row), kRed).isEmpty(), !current);
        QCOMPARE(inkBox(page, labelCell(row), kBlack).isEmpty(), current);
        QCOMPARE(inkBox(page, m_pad->TimeFields(row)->geometry(), kRed).isEmpty(), !current);
        QCOMPARE(m_pad->TimeFields(row)->palette().color(QPalette::Text),
                 QColor(current ? kRed : kBlack));
    }
}

// Set back as soon as it changes, not by a paint: nothing changes while the page is drawn.
void PadPaintingTest::fixedSize_isRestoredAtOnce()
{
    m_pad->setMinimumSize(0, 0);
    m_pad->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_pad->resize(500, 100);
    QCOMPARE(m_pad->size(), QSize(387, 278));
    m_pad->resize(10, 10);
    QCOMPARE(m_pad->size(), QSize(387, 278));
}

// A paint only draws: the hour moving on is marked by the clock's tick, not by a paint.
void PadPaintingTest::repaint_changesNothingOfThePad()
{
    const auto stateOf = [this] {
        QStringList state;
        const QMetaObject *meta = m_pad->metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
            state << meta->property(i).read(m_pad.get()).toString();
        for (int row = 1; row <= 17; ++row)
            state << m_pad->TimeFields(row)->palette().color(QPalette::Text).name()
                  << m_pad->TimeFields(row)->accessibleName();
        state << m_pad->NotesMemo()->accessibleName() << m_pad->accessibleDescription()
              << m_pad->toolTip()
              << QString::number(m_pad->width()) + u'x' + QString::number(m_pad->height());
        for (const QAction *action : m_pad->actions())
            state << action->text();
        return state;
    };
    m_now = QTime(14, 30);
    const QStringList before = stateOf();
    m_pad->repaint();
    QCOMPARE(stateOf(), before);
}

void PadPaintingTest::background_smallIsUnscaledAndEmptyIsBuiltIn()
{
    QPixmap small(200, 100); // a pixmap, as a form description hands it over
    small.fill(QColor(kProbe));
    m_pad->setBackground(small);
    QImage page = grabPad(*m_pad);
    QCOMPARE(inkBox(page, page.rect(), kProbe), QRect(0, 0, 200, 100));
    QCOMPARE(page.pixel(101, 19), kRed); // the page is drawn over it

    const QImage builtIn = LoadBitmapByName(QStringLiteral("CALENDARPAD_"));
    QCOMPARE(builtIn.size(), QSize(387, 278));
    QCOMPARE(TCalendarPad().Background(), builtIn);
    m_pad->setBackground(QImage());
    QCOMPARE(m_pad->Background(), builtIn); // reloaded by the setter's paint
    page = grabPad(*m_pad);
    QCOMPARE(page.pixel(2, 2), builtIn.pixel(2, 2));
    QCOMPARE(page.pixel(380, 270), builtIn.pixel(380, 270));
}

// The page's texts are laid out at their first paint and drawn from that layout afterwards:
// the pixels stay those of QPainter::drawText, at every paint.
void PadPaintingTest::keptTextLayouts_drawWhatDrawTextDraws()
{
    const QRect cell = labelCell(1);
    QImage expected(cell.size(), QImage::Format_RGB32);
    expected.fill(kWhite);
    {
        QPainter painter(&expected);
        painter.setFont(ArialFont(8));
        painter.setPen(ColorToQColor(m_pad->TimeColor()));
        painter.drawText(QPoint(0, painter.fontMetrics().ascent()), QStringLiteral("07:00"));
    }
    for (int paint = 1; paint <= 2; ++paint) {
        const QImage page = grabPad(*m_pad).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(page.copy(cell), expected);
    }
}

QTEST_MAIN(PadPaintingTest)

#include "tst_padpainting.moc"
