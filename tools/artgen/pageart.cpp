// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pageart.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace ruvo::artgen {

namespace {

constexpr int kWidth = 387;
constexpr int kHeight = 278;

// The two top sheets. The date side ends well right of its texts (x 166) and the hour side
// starts well left of its labels (x 218), leaving the band between for the binding.
const QRectF kLeftPage(4, 3, 181, 268);
const QRectF kRightPage(200, 3, 184, 268);
constexpr int kStackDepth = 3;

const QColor kCover(0x5a, 0x2b, 0x2a);
const QColor kCoverDark(0x2c, 0x15, 0x14);
const QColor kRule(0xe2, 0xe0, 0xdd);
const QColor kAccent(0xd8, 0x6a, 0x62);

constexpr int kHoleCount = 21;
constexpr double kFirstHoleY = 17;
constexpr double kHolePitch = 12;
constexpr double kLeftHoleX = 179;
constexpr double kRightHoleX = 205;

void drawCover(QPainter &p)
{
    QLinearGradient shade(0, 0, 0, kHeight);
    shade.setColorAt(0, kCover.lighter(112));
    shade.setColorAt(1, kCover.darker(115));
    p.fillRect(QRect(0, 0, kWidth, kHeight), shade);

    // The spine between the pages lies in the shadow of both sheets.
    QLinearGradient spine(kLeftPage.right(), 0, kRightPage.left(), 0);
    spine.setColorAt(0, kCoverDark);
    spine.setColorAt(0.5, kCover.darker(125));
    spine.setColorAt(1, kCoverDark);
    p.fillRect(QRectF(kLeftPage.right(), 0, kRightPage.left() - kLeftPage.right(), kHeight), spine);
}

// Sheets under the top one, each a pixel further out, so the pad looks thick.
void drawPageStack(QPainter &p, const QRectF &page, int outward)
{
    static const QColor kEdges[kStackDepth + 1] = {
        Qt::white, QColor(0xee, 0xec, 0xe8), QColor(0xd5, 0xd1, 0xca), QColor(0xe6, 0xe3, 0xde)};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRect(page.translated(outward * (kStackDepth + 1), kStackDepth + 1));
    for (int k = kStackDepth; k >= 1; --k) {
        p.setBrush(kEdges[k]);
        p.drawRect(page.translated(outward * k, k));
    }
}

void drawSheet(QPainter &p, const QRectF &page, bool bindingOnRight)
{
    p.fillRect(page, Qt::white);

    // The paper bends down into the binding and catches less light there.
    constexpr double kGutter = 15;
    const double edge = bindingOnRight ? page.right() : page.left();
    const double inner = bindingOnRight ? edge - kGutter : edge + kGutter;
    QLinearGradient gutter(inner, 0, edge, 0);
    gutter.setColorAt(0, QColor(0, 0, 0, 0));
    gutter.setColorAt(0.6, QColor(0, 0, 0, 10));
    gutter.setColorAt(1, QColor(0, 0, 0, 38));
    p.fillRect(QRectF(std::min(inner, edge), page.top(), kGutter, page.height()), gutter);
}

void drawFrame(QPainter &p, const QRect &frame)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRule, 1));
    p.drawRect(frame);
    // The head of the frame in the red of the day block, but softer.
    p.setPen(QPen(kAccent, 1));
    p.drawLine(frame.topLeft(), frame.topRight());
    p.drawLine(frame.topLeft() + QPoint(0, 1), frame.topRight() + QPoint(0, 1));
}

void drawLeftPageRuling(QPainter &p)
{
    // Clear of the year, the day block, the notes and the day line.
    drawFrame(p, QRect(10, 9, 162, 256));
    // Margin line of the notes, left of the notes editor.
    p.setPen(QPen(QColor(0xf1, 0xc9, 0xc5), 1));
    p.drawLine(QPoint(14, 84), QPoint(14, 246));
}

void drawRightPageRuling(QPainter &p)
{
    drawFrame(p, QRect(213, 9, 163, 256));
    // Hour lines under the labels; the fields beside them are opaque, so the lines stop there.
    p.setPen(QPen(QColor(0xe4, 0xe4, 0xe4), 1));
    for (int row = 0; row < 16; ++row) {
        const int y = 32 + 14 * row;
        p.drawLine(QPoint(216, y), QPoint(244, y));
    }
}

void drawHoles(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int k = 0; k < kHoleCount; ++k) {
        const double y = kFirstHoleY + kHolePitch * k;
        for (const double x : {kLeftHoleX, kRightHoleX}) {
            const QRectF hole(x - 2.5, y - 2.5, 5, 5);
            p.setPen(QPen(QColor(0xc8, 0xc4, 0xbe), 0.8));
            p.setBrush(kCoverDark);
            p.drawRoundedRect(hole, 1.6, 1.6);
        }
    }
}

// A ribbon bookmark that comes out from under the last ring and hangs over the lower edge.
void drawRibbon(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    constexpr double kLeft = 188.5, kRight = 195.5, kTop = 248, kEnd = 278.5;
    QPainterPath ribbon;
    ribbon.moveTo(kLeft, kTop);
    ribbon.lineTo(kRight, kTop);
    ribbon.lineTo(kRight + 0.6, kEnd);
    ribbon.lineTo((kLeft + kRight) / 2 + 0.3, kEnd - 4);
    ribbon.lineTo(kLeft + 0.6, kEnd);
    ribbon.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(ribbon.translated(1.2, 0.8));
    QLinearGradient satin(kLeft, 0, kRight, 0);
    satin.setColorAt(0, QColor(0x9e, 0x1b, 0x17));
    satin.setColorAt(0.35, QColor(0xe0, 0x4a, 0x3e));
    satin.setColorAt(0.55, QColor(0xc8, 0x2c, 0x24));
    satin.setColorAt(1, QColor(0x84, 0x14, 0x10));
    p.setBrush(satin);
    p.drawPath(ribbon);
}

QPainterPath wirePath(double y)
{
    // Seen from above, a ring rises from one hole, crosses the spine and dives into the other.
    QPainterPath path(QPointF(kLeftHoleX, y));
    path.cubicTo(QPointF(kLeftHoleX + 7, y - 4.2), QPointF(kRightHoleX - 7, y - 4.2),
                 QPointF(kRightHoleX, y));
    return path;
}

void drawWires(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < kHoleCount; ++k) {
        const double y = kFirstHoleY + kHolePitch * k;
        for (const double offset : {-1.1, 1.1}) {
            const QPainterPath wire = wirePath(y + offset);
            p.setPen(QPen(QColor(0, 0, 0, 55), 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(wire.translated(0.6, 2.6));
        }
        for (const double offset : {-1.1, 1.1}) {
            const QPainterPath wire = wirePath(y + offset);
            p.setPen(QPen(QColor(0x4a, 0x4e, 0x55), 1.9, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(wire);
            p.setPen(QPen(QColor(0xb4, 0xb9, 0xc0), 1.1, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(wire);
            p.setPen(QPen(QColor(0xf6, 0xf8, 0xfa), 0.5, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(wire.translated(0, -0.35));
        }
    }
}

QPointF reflect(QPointF point, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double t = QPointF::dotProduct(point - a, d) / QPointF::dotProduct(d, d);
    const QPointF foot = a + t * d;
    return 2 * foot - point;
}

// A lifted page corner: the corner at `corner` is rolled up along the fold from `a` (on the
// side edge) to `b` (on the bottom edge), baring the sheet beneath.
void drawCurl(QPainter &p, QPointF corner, QPointF a, QPointF b)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF mid = (a + b) / 2;
    // A rolled corner does not lie flat: it reaches a little over half way to its mirror image.
    const QPointF tip = mid + 0.6 * (reflect(corner, a, b) - mid);
    const QPointF inward = tip - mid;

    // The sheet beneath, darkest right under the fold.
    QPainterPath bare;
    bare.moveTo(a);
    bare.lineTo(corner);
    bare.lineTo(b);
    bare.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf2, 0xee));
    p.drawPath(bare);
    QLinearGradient underShade(mid, corner);
    underShade.setColorAt(0, QColor(0, 0, 0, 75));
    underShade.setColorAt(0.45, QColor(0, 0, 0, 22));
    underShade.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(underShade);
    p.drawPath(bare);

    // The flap: its sides bow out a little and the fold itself bulges, as rolled paper does.
    QPainterPath flap;
    flap.moveTo(a);
    flap.quadTo(a + 0.5 * (tip - a) + 0.12 * (a - b), tip);
    flap.quadTo(b + 0.5 * (tip - b) + 0.12 * (b - a), b);
    flap.quadTo(mid - 0.18 * inward, a);
    flap.closeSubpath();

    // Its shadow on the page, with the light from the top left.
    p.setBrush(QColor(0, 0, 0, 22));
    p.drawPath(flap.translated(2.4, 2.0));
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawPath(flap.translated(1.1, 1.0));

    QLinearGradient roll(mid - 0.18 * inward, tip);
    roll.setColorAt(0, QColor(0xb8, 0xb4, 0xae));
    roll.setColorAt(0.25, QColor(0xdc, 0xd9, 0xd4));
    roll.setColorAt(0.7, QColor(0xfa, 0xf9, 0xf7));
    roll.setColorAt(1, QColor(0xee, 0xec, 0xe8));
    p.setBrush(roll);
    p.setPen(QPen(QColor(0xa8, 0xa4, 0x9e), 0.7));
    p.drawPath(flap);
}

} // namespace

QImage paintPageSpread()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    drawCover(p);
    drawPageStack(p, kLeftPage, -1);
    drawPageStack(p, kRightPage, +1);
    drawSheet(p, kLeftPage, true);
    drawSheet(p, kRightPage, false);
    drawLeftPageRuling(p);
    drawRightPageRuling(p);
    drawHoles(p);
    drawRibbon(p);
    drawWires(p);
    // The corners that turn the page, inside the areas that react to the mouse, and clear of the
    // day line on the left and the last entry field on the right.
    drawCurl(p, kLeftPage.bottomLeft(), QPointF(kLeftPage.left(), 248),
             QPointF(kLeftPage.left() + 23, kLeftPage.bottom()));
    drawCurl(p, kRightPage.bottomRight(), QPointF(kRightPage.right(), 248),
             QPointF(kRightPage.right() - 23, kRightPage.bottom()));
    p.end();
    return image;
}

QImage paintPageMockup(const QImage &background)
{
    QImage image = background.convertToFormat(QImage::Format_RGB32);
    QPainter p(&image);
    auto font = [](int pixels, bool bold) {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(pixels);
        f.setBold(bold);
        return f;
    };
    // Draws text on an opaque cell, anchored at the top with the given horizontal alignment.
    auto text = [&p](const QString &s, int x, int y, Qt::Alignment align, const QColor &ink,
                     const QColor &cell) {
        const QFontMetrics fm(p.font());
        const int w = fm.horizontalAdvance(s);
        const int left = align == Qt::AlignHCenter ? x - w / 2
                         : align == Qt::AlignRight ? x - w
                                                   : x;
        const QRect box(left, y, w, fm.height());
        p.fillRect(box, cell);
        p.setPen(ink);
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop, s);
    };
    p.setPen(Qt::white);
    p.setBrush(Qt::red);
    p.drawRect(QRect(100, 18, 63, 57));
    p.setFont(font(37, true));
    text(QStringLiteral("06"), 133, 20, Qt::AlignHCenter, Qt::white, Qt::red);
    p.setFont(font(11, false));
    text(QStringLiteral("Vendredi"), 133, 60, Qt::AlignHCenter, Qt::white, Qt::red);
    p.setFont(font(15, true));
    text(QStringLiteral("Septembre"), 60, 55, Qt::AlignHCenter, Qt::black, Qt::white);
    p.setFont(font(27, true));
    text(QStringLiteral("2026"), 60, 20, Qt::AlignHCenter, Qt::black, Qt::white);
    p.setFont(font(11, false));
    text(QStringLiteral("Jour 249 - Semaine 36"), 165, 250, Qt::AlignRight, Qt::black, Qt::white);
    for (int i = 1; i <= 17; ++i) {
        const QString label = QStringLiteral("%1:00").arg(6 + i, 2, 10, QLatin1Char('0'));
        text(label, 218, 19 + 14 * (i - 1), Qt::AlignLeft, i == 8 ? Qt::red : Qt::black, Qt::white);
    }
    p.setPen(Qt::black);
    p.drawLine(20, 80, 164, 80);
    p.drawLine(20, 250, 164, 250);

    // The editors are opaque white; a few sample entries show where typing lands.
    p.fillRect(QRect(18, 85, 149, 160), Qt::white);
    p.setFont(font(11, false));
    p.drawText(QRect(18, 85, 149, 160), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Appeler le garage avant midi.\nAnniversaire de Paul."));
    for (int i = 1; i <= 17; ++i) {
        const QRect field(246, 20 + 14 * (i - 1), 115, 16);
        p.fillRect(field, Qt::white);
        if (i == 3 || i == 7) {
            p.setFont(font(9, false));
            p.setPen(i == 8 ? Qt::red : Qt::black);
            p.drawText(field.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       i == 3 ? QStringLiteral("Réunion d'équipe") : QStringLiteral("Dentiste"));
        }
    }
    p.end();
    return image;
}

} // namespace ruvo::artgen
