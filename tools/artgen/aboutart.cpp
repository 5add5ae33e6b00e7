// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aboutart.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace ruvo::artgen {

namespace {

// Frames are drawn this many times larger and scaled down, for smooth edges at tiny sizes.
constexpr int kScale = 4;

QImage canvas(int width, int height)
{
    QImage image(width * kScale, height * kScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage shrink(const QImage &large)
{
    return large.scaled(large.size() / kScale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

constexpr double kPi = std::numbers::pi;

// --- Globe -----------------------------------------------------------------------------------

struct GlobeView
{
    QPointF centre;
    double radius;
    double tilt; // of the axis towards the viewer, radians
    double spin; // radians

    // Projects latitude / longitude to the picture; z > 0 faces the viewer.
    QPointF project(double lat, double lon, double *z) const
    {
        const double x = std::cos(lat) * std::sin(lon + spin);
        const double y = std::sin(lat);
        const double zz = std::cos(lat) * std::cos(lon + spin);
        const double y2 = y * std::cos(tilt) - zz * std::sin(tilt);
        *z = y * std::sin(tilt) + zz * std::cos(tilt);
        return centre + QPointF(radius * x, -radius * y2);
    }
};

// Draws the part of a sphere curve that faces the viewer.
void drawFrontCurve(QPainter &p, const GlobeView &view, bool meridian, double fixed)
{
    QPainterPath path;
    bool drawing = false;
    constexpr int kSteps = 96;
    for (int i = 0; i <= kSteps; ++i) {
        const double s = meridian ? -kPi / 2 + kPi * i / kSteps : 2 * kPi * i / kSteps;
        double z = 0;
        const QPointF pt = meridian ? view.project(s, fixed, &z) : view.project(fixed, s, &z);
        if (z < 0) {
            drawing = false;
            continue;
        }
        if (drawing)
            path.lineTo(pt);
        else
            path.moveTo(pt);
        drawing = true;
    }
    p.drawPath(path);
}

QImage globeFrame(int frame, int frames)
{
    constexpr int kW = 39, kH = 42;
    QImage image = canvas(kW, kH);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(kScale, kScale);

    const QPointF centre(19.5, 19.0);
    constexpr double kRadius = 14.2;

    // Shadow on the table.
    QRadialGradient shadow(QPointF(19.5, 38.6), 13);
    shadow.setColorAt(0, QColor(0, 0, 0, 60));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.save();
    p.translate(19.5, 38.6);
    p.scale(1, 0.22);
    p.drawEllipse(QPointF(0, 0), 13, 13);
    p.restore();

    // The link ring: tilted ellipse; its far half goes behind the globe.
    const double orbit = 2 * kPi * frame / frames;
    const QRectF ring(centre.x() - 18.2, centre.y() - 6.2, 36.4, 12.4);
    QTransform ringTilt;
    ringTilt.translate(centre.x(), centre.y());
    ringTilt.rotate(-18);
    ringTilt.translate(-centre.x(), -centre.y());
    const QColor ringColour(0xe8, 0x9a, 0x1e);
    auto ringPoint = [&](double a) {
        return ringTilt.map(
            QPointF(centre.x() + 18.2 * std::cos(a), centre.y() + 6.2 * std::sin(a)));
    };
    auto drawDot = [&](double a) {
        const QPointF at = ringPoint(a);
        QRadialGradient glow(at - QPointF(0.5, 0.5), 2.6);
        glow.setColorAt(0, QColor(0xff, 0xb0, 0xa8));
        glow.setColorAt(0.5, QColor(0xe0, 0x2a, 0x22));
        glow.setColorAt(1, QColor(0xa0, 0x12, 0x10));
        p.setPen(QPen(QColor(0x80, 0x10, 0x0c), 0.4));
        p.setBrush(glow);
        p.drawEllipse(at, 2.3, 2.3);
    };
    const double dotAngle = std::fmod(orbit + kPi / 2, 2 * kPi); // starts in front
    const bool dotBehind = std::sin(dotAngle) < 0;

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ringColour.darker(115), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.save();
    p.setTransform(ringTilt, true);
    p.drawArc(ring, 0, 180 * 16); // the upper half is the far half
    p.restore();
    if (dotBehind)
        drawDot(dotAngle);

    // The sea.
    QRadialGradient sea(centre + QPointF(-4.5, -5.5), kRadius * 1.35);
    sea.setColorAt(0, QColor(0x9f, 0xd8, 0xff));
    sea.setColorAt(0.45, QColor(0x3a, 0x8c, 0xdb));
    sea.setColorAt(1, QColor(0x12, 0x3f, 0x86));
    p.setPen(QPen(QColor(0x10, 0x34, 0x70), 0.6));
    p.setBrush(sea);
    p.drawEllipse(centre, kRadius, kRadius);

    // The net of meridians and parallels, turning by one meridian spacing per loop.
    constexpr int kMeridians = 8;
    const double spacing = 2 * kPi / kMeridians;
    const GlobeView view{centre, kRadius, 0.38, spacing * frame / frames};
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 170), 0.55));
    for (int m = 0; m < kMeridians; ++m)
        drawFrontCurve(p, view, true, spacing * m);
    for (const double lat : {-60.0, -30.0, 0.0, 30.0, 60.0})
        drawFrontCurve(p, view, false, lat * kPi / 180);

    // Gloss.
    QRadialGradient gloss(centre + QPointF(-5, -6.5), 7);
    gloss.setColorAt(0, QColor(255, 255, 255, 150));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(centre + QPointF(-5, -6.5), 7, 7);

    // Near half of the ring, in front of the globe.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ringColour, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.save();
    p.setTransform(ringTilt, true);
    p.drawArc(ring, 180 * 16, 180 * 16);
    p.restore();
    if (!dotBehind)
        drawDot(dotAngle);
    p.end();
    return shrink(image);
}

// --- Flipping calendar -------------------------------------------------------------------------

constexpr double kPadLeft = 10, kPadRight = 40;
constexpr double kHinge = 13.5; // top of the pages, under the red band
constexpr double kPageBottom = 35.5;

void drawPageFace(QPainter &p, const QRectF &page, int marked)
{
    p.fillRect(page, Qt::white);
    // A small month grid; one day is circled.
    const double cellW = (page.width() - 6) / 7;
    const double cellH = (page.height() - 6) / 5;
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 7; ++col) {
            const int day = row * 7 + col;
            if (day < 2 || day > 31)
                continue;
            const QRectF cell(page.left() + 3 + col * cellW + 0.6,
                              page.top() + 3 + row * cellH + 0.6, cellW - 1.2, cellH - 1.4);
            p.fillRect(cell, day == marked ? QColor(0xe0, 0x2a, 0x22)
                             : col == 6    ? QColor(0xf3, 0xb5, 0xb0)
                                           : QColor(0xc9, 0xcc, 0xd2));
        }
    }
}

void drawCalendarBody(QPainter &p)
{
    // Shadow on the desk.
    QRadialGradient shadow(QPointF(25, 37.5), 18);
    shadow.setColorAt(0, QColor(0, 0, 0, 55));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.save();
    p.translate(25, 37.5);
    p.scale(1, 0.16);
    p.drawEllipse(QPointF(0, 0), 19, 19);
    p.restore();

    // Page stack under the top page.
    p.setPen(QPen(QColor(0x9a, 0x96, 0x90), 0.4));
    for (int k = 3; k >= 1; --k) {
        p.setBrush(k % 2 ? QColor(0xf1, 0xef, 0xeb) : QColor(0xdc, 0xd8, 0xd1));
        p.drawRect(QRectF(kPadLeft + 0.4 * k, kHinge, kPadRight - kPadLeft,
                          kPageBottom - kHinge + 0.8 * k));
    }

    // The red band that holds the pages.
    QLinearGradient band(0, 6, 0, kHinge);
    band.setColorAt(0, QColor(0xec, 0x4d, 0x41));
    band.setColorAt(1, QColor(0xb0, 0x1f, 0x18));
    p.setPen(QPen(QColor(0x80, 0x12, 0x0e), 0.5));
    p.setBrush(band);
    p.drawRoundedRect(QRectF(kPadLeft - 1, 6, kPadRight - kPadLeft + 2, kHinge - 6), 1.5, 1.5);
    p.setPen(QPen(QColor(255, 255, 255, 110), 0.6));
    p.drawLine(QPointF(kPadLeft + 0.5, 7.0), QPointF(kPadRight - 0.5, 7.0));
}

void drawRings(QPainter &p)
{
    for (const double x : {18.0, 32.0}) {
        p.setPen(QPen(QColor(0x3a, 0x3d, 0x42), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, 3.5), QPointF(x, 9.0));
        p.setPen(QPen(QColor(0xd9, 0xdd, 0xe2), 0.9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x - 0.3, 3.7), QPointF(x - 0.3, 8.6));
    }
}

// The top page turned about the hinge by `angle` (0 lies flat, pi stands straight up), seen
// in perspective. The free edge lags behind, so the sheet bends as real paper does.
void drawTurningPage(QPainter &p, double angle, int marked)
{
    constexpr int kStrips = 16;
    constexpr double kEye = 95; // distance of the eye in front of the page
    const QPointF eye(25, 20);
    const double height = kPageBottom - kHinge;
    const double bend = 0.85 * std::sin(angle);
    const double opacity = std::clamp((kPi - angle) / (0.22 * kPi), 0.0, 1.0);
    if (opacity <= 0)
        return;

    // The sheet's centre line from the hinge to the free edge: (y down, z towards the eye).
    std::array<double, kStrips + 1> ys{}, zs{}, slopes{};
    ys[0] = kHinge;
    for (int i = 0; i < kStrips; ++i) {
        const double phi = angle - bend * (i + 0.5) / kStrips;
        slopes[size_t(i)] = phi;
        ys[size_t(i + 1)] = ys[size_t(i)] + std::cos(phi) * height / kStrips;
        zs[size_t(i + 1)] = zs[size_t(i)] + std::sin(phi) * height / kStrips;
    }
    auto project = [&](double x, double y, double z) {
        const double k = kEye / (kEye - z);
        return eye + QPointF((x - eye.x()) * k, (y - eye.y()) * k);
    };

    // Shadow of the lifted sheet on the page beneath, while it is still over it.
    if (angle < kPi / 2) {
        const double edge = project(kPadLeft, ys[kStrips], zs[kStrips]).y();
        const double depth = 5 * std::sin(angle);
        QLinearGradient cast(0, edge, 0, edge + depth);
        cast.setColorAt(0, QColor(0, 0, 0, int(60 * std::sin(angle))));
        cast.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(QRectF(kPadLeft, edge, kPadRight - kPadLeft, depth), cast);
    }

    p.save();
    p.setOpacity(opacity);
    const QRectF page(kPadLeft, kHinge, kPadRight - kPadLeft, height);
    // Farther strips first, so a strip that bends towards the eye covers the ones behind it.
    std::array<int, kStrips> order{};
    for (int i = 0; i < kStrips; ++i)
        order[size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return zs[size_t(a)] + zs[size_t(a + 1)] < zs[size_t(b)] + zs[size_t(b + 1)];
    });
    for (const int i : order) {
        const double v0 = page.top() + height * i / kStrips;
        const double v1 = page.top() + height * (i + 1) / kStrips;
        const QPolygonF source({QPointF(page.left(), v0), QPointF(page.right(), v0),
                                QPointF(page.right(), v1), QPointF(page.left(), v1)});
        const QPolygonF target({project(page.left(), ys[size_t(i)], zs[size_t(i)]),
                                project(page.right(), ys[size_t(i)], zs[size_t(i)]),
                                project(page.right(), ys[size_t(i + 1)], zs[size_t(i + 1)]),
                                project(page.left(), ys[size_t(i + 1)], zs[size_t(i + 1)])});
        const double phi = slopes[size_t(i)];
        // Light from above and in front of the page.
        const double facing = std::cos(phi);
        const double light = std::clamp((0.5 * std::sin(phi) + std::cos(phi)) / 1.118, -1.0, 1.0);
        if (facing > 0.02) {
            QTransform map;
            if (!QTransform::quadToQuad(source, target, map))
                continue;
            p.save();
            p.setTransform(map, true);
            const QRectF strip(page.left(), v0 - 0.15, page.width(), v1 - v0 + 0.3);
            p.setClipRect(strip);
            drawPageFace(p, page, marked);
            p.fillRect(strip, QColor(0, 0, 0, int(70 * (1 - light))));
            p.restore();
        } else {
            const int tone = int(0xd8 + 0x22 * std::abs(light));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(tone, tone - 2, tone - 6));
            p.drawPolygon(target);
        }
    }
    // The outline of the sheet: both sides and the free edge.
    QPolygonF outline;
    for (int i = 0; i <= kStrips; ++i)
        outline << project(kPadLeft, ys[size_t(i)], zs[size_t(i)]);
    for (int i = kStrips; i >= 0; --i)
        outline << project(kPadRight, ys[size_t(i)], zs[size_t(i)]);
    p.setPen(QPen(QColor(0x8a, 0x86, 0x80), 0.45));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(outline);
    p.restore();
}

QImage flipFrame(int frame)
{
    constexpr int kW = 50, kH = 40;
    constexpr int kStill = 10; // frames at rest before the page starts to turn
    constexpr int kTurn = 18;  // frames of the turn
    QImage image = canvas(kW, kH);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(kScale, kScale);

    drawCalendarBody(p);
    // The page beneath looks the same as the top one, so the loop closes without a jump.
    constexpr int kDay = 17;
    const QRectF page(kPadLeft, kHinge, kPadRight - kPadLeft, kPageBottom - kHinge);
    drawPageFace(p, page, kDay);
    const int turn = frame - kStill;
    if (turn >= 0 && turn < kTurn) {
        const double t = double(turn + 1) / (kTurn + 1);
        const double eased = (1 - std::cos(kPi * t)) / 2;
        drawTurningPage(p, kPi * eased, kDay);
    }
    drawRings(p);
    p.end();
    return shrink(image);
}

} // namespace

QList<QImage> paintGlobeFrames()
{
    QList<QImage> frames;
    constexpr int kFrames = 12;
    for (int i = 0; i < kFrames; ++i)
        frames.append(globeFrame(i, kFrames));
    return frames;
}

QList<QImage> paintFlipFrames()
{
    QList<QImage> frames;
    for (int i = 0; i < 36; ++i)
        frames.append(flipFrame(i));
    return frames;
}

QImage paintCloseBanner()
{
    constexpr int kW = 176, kH = 32;
    QImage image = canvas(kW, kH);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.scale(kScale, kScale);

    const QRectF button(3, 2.5, kW - 6, kH - 6);
    // Soft shadow on the white box.
    for (int k = 3; k >= 1; --k) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRoundedRect(button.translated(0, 0.6 * k).adjusted(-0.3 * k, 0, 0.3 * k, 0.4 * k), 8,
                          8);
    }
    QLinearGradient face(0, button.top(), 0, button.bottom());
    face.setColorAt(0, QColor(0xf2, 0x6a, 0x5e));
    face.setColorAt(0.48, QColor(0xd9, 0x36, 0x2b));
    face.setColorAt(0.52, QColor(0xcc, 0x2c, 0x22));
    face.setColorAt(1, QColor(0xa8, 0x1d, 0x16));
    p.setPen(QPen(QColor(0x86, 0x15, 0x10), 0.9));
    p.setBrush(face);
    p.drawRoundedRect(button, 8, 8);
    // Light along the top edge.
    p.setPen(QPen(QColor(255, 255, 255, 120), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(button.adjusted(1.2, 1.2, -1.2, -1.2), 7, 7);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(font);
    const QRectF label = button.adjusted(0, -1, 0, -1);
    p.setPen(QColor(0x70, 0x10, 0x0c, 170));
    p.drawText(label.translated(0, 0.9), Qt::AlignCenter, QStringLiteral("Fermer"));
    p.setPen(Qt::white);
    p.drawText(label, Qt::AlignCenter, QStringLiteral("Fermer"));
    p.end();
    return shrink(image);
}

} // namespace ruvo::artgen
