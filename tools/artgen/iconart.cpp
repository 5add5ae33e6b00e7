#include "iconart.h"

#include "dibwriter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>

#include <climits>
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
