// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "iconart.h"

#include "dibwriter.h"

#include <QBuffer>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace ruvo::artgen {

namespace {

// Index 0 is black, the colour that shows nothing where the mask is transparent.
const QList<QRgb> kIconPalette = {
    qRgb(0x00, 0x00, 0x00), qRgb(0xff, 0xff, 0xff), qRgb(0xe0, 0x3b, 0x30), qRgb(0x9c, 0x1c, 0x16),
    qRgb(0xf2, 0x8f, 0x86), qRgb(0xbf, 0x29, 0x21), qRgb(0x80, 0x80, 0x80), qRgb(0xc4, 0xc4, 0xc4),
    qRgb(0xe6, 0xe6, 0xe6), qRgb(0x44, 0x44, 0x44), qRgb(0xa0, 0xa4, 0xaa), qRgb(0x60, 0x60, 0x60),
    qRgb(0xf4, 0xf2, 0xee), qRgb(0xd6, 0xd3, 0xcd), qRgb(0x2a, 0x2a, 0x2a), qRgb(0x5c, 0x12, 0x10),
};

int nearestIconColour(QRgb c)
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < kIconPalette.size(); ++i) {
        const QRgb p = kIconPalette.at(i);
        const int dr = qRed(p) - qRed(c), dg = qGreen(p) - qGreen(c), db = qBlue(p) - qBlue(c);
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

// The theme icons are laid out in units of the 32-pixel icon. Edges are rounded to whole pixels
// so that outlines stay sharp at every size.
struct Grid
{
    double scale = 1;
    double shiftY = 0;

    double x(double u) const { return std::floor(u * scale + 0.5); }
    double y(double u) const { return std::floor(u * scale + shiftY + 0.5); }
    QRectF rect(double left, double top, double right, double bottom) const
    {
        return QRectF(QPointF(x(left), y(top)), QPointF(x(right), y(bottom)));
    }
};

QPainterPath roundedRect(const QRectF &r, double radius)
{
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(r, radius, radius);
    else
        path.addRect(r);
    return path;
}

// The top sheet without its folded corner; cut is the length of the corner square's side.
QPainterPath cutSheet(const QRectF &r, double radius, double cut)
{
    QPainterPath corner;
    const double far = r.width() + r.height();
    corner.addPolygon(QPolygonF(
        {QPointF(r.right() - cut, r.bottom()), QPointF(r.right(), r.bottom() - cut),
         QPointF(r.right() + far, r.bottom() - cut), QPointF(r.right() + far, r.bottom() + far),
         QPointF(r.right() - cut, r.bottom() + far)}));
    return roundedRect(r, radius).subtracted(corner);
}

// Three box blurs in a row come close to a Gaussian; only the alpha of a black picture counts.
void blurAlpha(QImage &image, int radius)
{
    const int w = image.width(), h = image.height();
    std::vector<int> alpha(size_t(w * h)), line(size_t(std::max(w, h)));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            alpha[size_t(y * w + x)] = qAlpha(image.pixel(x, y));
    const int span = 2 * radius + 1;
    auto pass = [&](int count, int length, auto at) {
        for (int i = 0; i < count; ++i) {
            int sum = 0;
            for (int k = 0; k < length; ++k)
                line[size_t(k)] = alpha[at(i, k)];
            for (int k = -radius; k < length + radius; ++k) {
                const int enter = k + radius, leave = k - radius - 1;
                sum += enter < length ? line[size_t(enter)] : 0;
                sum -= leave >= 0 ? line[size_t(leave)] : 0;
                if (k >= 0 && k < length)
                    alpha[at(i, k)] = sum / span;
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(h, w, [w](int y, int x) { return size_t(y * w + x); });
        pass(w, h, [w](int x, int y) { return size_t(y * w + x); });
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qPremultiply(qRgba(0, 0, 0, alpha[size_t(y * w + x)])));
}

} // namespace

QImage paintProgramIcon()
{
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Sheets under the top one, stepping down to the right.
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(QColor(0xd6, 0xd3, 0xcd));
    p.drawRect(QRect(5, 7, 23, 23));
    p.setBrush(QColor(0xf4, 0xf2, 0xee));
    p.drawRect(QRect(4, 6, 23, 23));

    // The top sheet: white with a red band.
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::white);
    p.drawRect(QRect(3, 5, 23, 23));
    QLinearGradient band(0, 6, 0, 12);
    band.setColorAt(0, QColor(0xe0, 0x3b, 0x30));
    band.setColorAt(1, QColor(0xbf, 0x29, 0x21));
    p.fillRect(QRect(4, 6, 22, 7), band);
    p.setPen(QColor(0x9c, 0x1c, 0x16));
    p.drawLine(4, 13, 25, 13);

    // The day number, large and dark.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x2a, 0x2a, 0x2a));
    p.drawText(QRect(4, 13, 22, 15), Qt::AlignCenter, QStringLiteral("31"));

    // Two binding rings over the band.
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const int x : {9, 19}) {
        p.setPen(QColor(0x44, 0x44, 0x44));
        p.setBrush(QColor(0xa0, 0xa4, 0xaa));
        p.drawRect(QRect(x, 2, 2, 6));
        p.setPen(QColor(0x5c, 0x12, 0x10));
        p.drawPoint(x, 9);
        p.drawPoint(x + 1, 9);
    }
    // A lifted corner at the bottom right: the sheet beneath shows under the folded flap.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf2, 0xee));
    p.drawPolygon(QPolygon({QPoint(26, 22), QPoint(26, 28), QPoint(20, 28)}));
    p.setBrush(QColor(0xe6, 0xe6, 0xe6));
    p.drawPolygon(QPolygon({QPoint(26, 22), QPoint(20, 28), QPoint(20, 22)}));
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(26, 22, 20, 28);
    p.setPen(QColor(0xc4, 0xc4, 0xc4));
    p.drawLine(20, 22, 25, 22);
    p.drawLine(20, 23, 20, 27);
    p.end();
    return icon;
}

QImage paintThemeIcon(int size)
{
    const bool fine = size >= 48; // rounded corners, shading and a shadow
    Grid g;
    g.scale = size / 32.0;
    // The picture is a little taller than wide: centre it, leaving room for the shadow.
    g.shiftY = size == 16 ? -0.5 : size >= 48 ? -0.75 * g.scale : 0;
    const double line = std::max(1.0, std::round(g.scale * 0.4));
    const double step = std::max(1.0, g.x(1));
    const double radius = fine ? g.scale * 1.2 : 0;
    const QRectF page = g.rect(3, 5, 27, 29);
    const double cut = std::max(2.0, g.x(6));

    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);

    if (fine) {
        QImage shadow(size, size, QImage::Format_ARGB32_Premultiplied);
        shadow.fill(Qt::transparent);
        QPainter s(&shadow);
        s.setRenderHint(QPainter::Antialiasing, true);
        s.setPen(Qt::NoPen);
        s.setBrush(QColor(0, 0, 0, 90));
        for (int k = 0; k <= 2; ++k)
            s.drawPath(roundedRect(page.translated(k * step, k * step + g.scale * 0.6), radius));
        s.end();
        blurAlpha(shadow, int(std::round(g.scale * 0.5)));
        p.drawImage(0, 0, shadow);
    }

    // An outline of the given colour around a body.
    auto outlined = [&](const QPainterPath &outer, const QPainterPath &inner, const QColor &edge,
                        const QBrush &body) {
        p.setBrush(edge);
        p.drawPath(outer);
        p.setBrush(body);
        p.drawPath(inner);
    };
    const QMarginsF in(line, line, line, line);

    // Sheets under the top one, stepping down to the right.
    const QColor sheetColours[] = {QColor(0xf4, 0xf2, 0xee), QColor(0xd6, 0xd3, 0xcd)};
    for (int k = 2; k >= 1; --k) {
        const QRectF sheet = page.translated(k * step, k * step);
        outlined(roundedRect(sheet, radius), roundedRect(sheet - in, radius - line),
                 QColor(0x80, 0x80, 0x80), sheetColours[k - 1]);
    }
    // The page beneath shows a shadow along the fold.
    const QRectF under = page.translated(step, step) - in;
    if (fine) {
        p.save();
        p.setClipPath(roundedRect(under, radius - line));
        const QPointF foldMiddle(page.right() - cut / 2, page.bottom() - cut / 2);
        QLinearGradient fall(foldMiddle, foldMiddle + QPointF(cut, cut) * 0.25);
        fall.setColorAt(0, QColor(0, 0, 0, 70));
        fall.setColorAt(1, QColor(0, 0, 0, 0));
        p.setBrush(fall);
        // Beyond the fold line, over the part of the sheet beside the page too.
        const double far = size;
        p.drawPolygon(QPolygonF({QPointF(page.right() - cut, page.bottom()),
                                 QPointF(page.right(), page.bottom() - cut),
                                 QPointF(page.right() + far, page.bottom() - cut),
                                 QPointF(page.right() + far, page.bottom() + far),
                                 QPointF(page.right() - cut, page.bottom() + far)}));
        p.restore();
    }

    // The top sheet, white, its corner folded over.
    const QRectF inner = page - in;
    const QPainterPath innerShape =
        cutSheet(inner, radius - line, cut - line * (2 - std::sqrt(2.0)));
    QLinearGradient paper(0, inner.top(), 0, inner.bottom());
    paper.setColorAt(0, Qt::white);
    paper.setColorAt(1, fine ? QColor(0xf3, 0xf2, 0xef) : Qt::white);
    outlined(cutSheet(page, radius, cut), innerShape, QColor(0x60, 0x60, 0x60), paper);

    // The red band and the dark line under it.
    p.save();
    p.setClipPath(innerShape);
    const double bandBottom = g.y(13);
    QLinearGradient band(0, inner.top(), 0, bandBottom);
    band.setColorAt(0, QColor(0xe0, 0x3b, 0x30));
    band.setColorAt(1, QColor(0xbf, 0x29, 0x21));
    p.fillRect(QRectF(QPointF(inner.left(), inner.top()), QPointF(inner.right(), bandBottom)),
               band);
    if (fine)
        p.fillRect(QRectF(inner.left(), inner.top(), inner.width(), line),
                   QColor(0xf2, 0x8f, 0x86));
    p.fillRect(QRectF(inner.left(), bandBottom, inner.width(), line), QColor(0x9c, 0x1c, 0x16));
    p.restore();

    // The day number below the band, kept clear of the folded corner. Small icons take the
    // hinted glyphs, sharper at a few pixels; large ones the glyph outlines, exact at any size.
    const QPointF tip(page.right() - cut, page.bottom() - cut);
    const QRectF below(QPointF(inner.left(), bandBottom + line), inner.bottomRight());
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    p.setBrush(QColor(0x2a, 0x2a, 0x2a));
    if (size == 16) {
        // Too few pixels for a font: the digits drawn by hand, 3 by 5 and 2 by 5.
        static const char *const rows[] = {"###..#", "..#.##", ".##..#", "..#..#", "###..#"};
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                if (rows[y][x] == '#')
                    p.fillRect(QRectF(inner.left() + 1 + x, below.top() + y, 1, 1),
                               QColor(0x2a, 0x2a, 0x2a));
    } else if (!fine) {
        font.setPixelSize(int(std::round(g.scale * 14)));
        font.setHintingPreference(QFont::PreferFullHinting);
        p.setFont(font);
        p.setPen(QColor(0x2a, 0x2a, 0x2a));
        p.drawText(below.adjusted(0, 0, -cut / 2, 0), Qt::AlignCenter, QStringLiteral("31"));
        p.setPen(Qt::NoPen);
    } else {
        font.setPixelSize(100);
        QPainterPath number;
        number.addText(0, 0, font, QStringLiteral("31"));
        const QRectF glyphs = number.boundingRect();
        const double zoom = 9.5 * g.scale / glyphs.height();
        const double width = glyphs.width() * zoom;
        const double centreX = std::min(g.x(15), tip.x() - 0.75 * g.scale - width / 2);
        QTransform fit;
        fit.translate(centreX, below.center().y());
        fit.scale(zoom, zoom);
        fit.translate(-glyphs.center().x(), -glyphs.center().y());
        p.drawPath(fit.map(number));
    }

    // The folded flap: the back of the sheet, darker towards the fold.
    const QPolygonF flap({tip, QPointF(page.right(), tip.y()), QPointF(tip.x(), page.bottom())});
    QLinearGradient back(tip, tip + QPointF(cut, cut) / 2);
    back.setColorAt(0, QColor(0xf6, 0xf6, 0xf6));
    back.setColorAt(1, fine ? QColor(0xd8, 0xd8, 0xd8) : QColor(0xe6, 0xe6, 0xe6));
    p.setBrush(back);
    p.drawPolygon(flap);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xc4, 0xc4, 0xc4), line, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(tip.x(), tip.y() + line / 2), QPointF(page.right(), tip.y() + line / 2));
    p.drawLine(QPointF(tip.x() + line / 2, tip.y()), QPointF(tip.x() + line / 2, page.bottom()));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), line, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(page.right() - line / 2, tip.y() + line / 2),
               QPointF(tip.x() + line / 2, page.bottom() - line / 2));
    p.setPen(Qt::NoPen);

    // Two binding rings going into holes in the band, both as wide whatever the rounding of their
    // positions.
    const double wire = std::max(1.0, std::round(2 * g.scale));
    for (const double x : {9.0, 19.0}) {
        const QRectF hole(g.x(x - 0.25), g.y(8.5), wire + g.x(0.5), g.y(10) - g.y(8.5));
        p.setBrush(QColor(0x5c, 0x12, 0x10));
        p.drawPath(roundedRect(hole, fine ? hole.height() / 2 : 0));
        const QRectF ring(g.x(x), g.y(2), wire, g.y(fine ? 9.25 : 9) - g.y(2));
        const double round = fine ? ring.width() / 2 : 0;
        QLinearGradient metal(ring.left(), 0, ring.right(), 0);
        metal.setColorAt(0, QColor(0x70, 0x74, 0x7a));
        metal.setColorAt(0.35, QColor(0xe4, 0xe7, 0xeb));
        metal.setColorAt(1, QColor(0x80, 0x84, 0x8a));
        if (ring.width() > 2 * line)
            outlined(roundedRect(ring, round), roundedRect(ring - in, std::max(0.0, round - line)),
                     QColor(0x44, 0x44, 0x44), metal);
        else // too thin for an outline: the wire alone
            outlined(roundedRect(ring, round), QPainterPath(), QColor(0x5a, 0x5e, 0x64), {});
    }
    p.end();
    return icon;
}

QByteArray encodePng(const QImage &image)
{
    QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    // A fixed resolution, whatever screen the generator runs on (96 dots per inch).
    plain.setDotsPerMeterX(3780);
    plain.setDotsPerMeterY(3780);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    plain.save(&buffer, "PNG");
    return bytes;
}

QByteArray encodeProgramIcon(const QImage &icon)
{
    QImage indexed(icon.width(), icon.height(), QImage::Format_Indexed8);
    indexed.setColorTable(kIconPalette);
    std::vector<bool> transparent(size_t(icon.width() * icon.height()));
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb c = icon.pixel(x, y);
            const bool clear = qAlpha(c) < 128;
            transparent[size_t(y * icon.width() + x)] = clear;
            // Half-covered edge pixels are blended onto white, the usual desktop behind icons.
            const int a = qAlpha(c);
            const QRgb onWhite =
                qRgb((qRed(c) * a + 255 * (255 - a)) / 255, (qGreen(c) * a + 255 * (255 - a)) / 255,
                     (qBlue(c) * a + 255 * (255 - a)) / 255);
            indexed.setPixel(x, y, clear ? 0 : nearestIconColour(onWhite));
        }
    }
    return encodeIco4(indexed, transparent);
}

} // namespace ruvo::artgen
