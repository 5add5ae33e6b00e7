// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quantizer.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace ruvo::artgen {

namespace {

struct ColourCount
{
    QRgb colour;
    qint64 count;
};

int channel(QRgb c, int axis)
{
    return axis == 0 ? qRed(c) : axis == 1 ? qGreen(c) : qBlue(c);
}

struct Box
{
    std::vector<ColourCount> colours;

    qint64 population() const
    {
        qint64 n = 0;
        for (const ColourCount &cc : colours)
            n += cc.count;
        return n;
    }

    // Weighted spread along one axis; the box with the largest spread is split next.
    double spread(int axis) const
    {
        double sum = 0, sumSq = 0, n = 0;
        for (const ColourCount &cc : colours) {
            const double v = channel(cc.colour, axis);
            sum += v * double(cc.count);
            sumSq += v * v * double(cc.count);
            n += double(cc.count);
        }
        return n > 0 ? sumSq - sum * sum / n : 0;
    }

    QRgb mean() const
    {
        double r = 0, g = 0, b = 0, n = 0;
        for (const ColourCount &cc : colours) {
            r += qRed(cc.colour) * double(cc.count);
            g += qGreen(cc.colour) * double(cc.count);
            b += qBlue(cc.colour) * double(cc.count);
            n += double(cc.count);
        }
        return qRgb(int(std::lround(r / n)), int(std::lround(g / n)), int(std::lround(b / n)));
    }
};

int distance(QRgb a, QRgb b)
{
    // Green weighs most to the eye, blue least.
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

int nearest(const QList<QRgb> &palette, QRgb c)
{
    int best = 0;
    int bestDistance = distance(palette.at(0), c);
    for (int i = 1; i < palette.size() && bestDistance > 0; ++i) {
        const int d = distance(palette.at(i), c);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace

QList<QRgb> medianCutPalette(const QList<QImage> &images, int size, const QList<QRgb> &fixed)
{
    QHash<QRgb, qint64> histogram;
    for (const QImage &image : images) {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x) {
                const QRgb c = line[x] | 0xff000000u;
                if (!fixed.contains(c))
                    ++histogram[c];
            }
        }
    }

    Box all;
    for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
        all.colours.push_back({it.key(), it.value()});
    // Hash order is not stable between runs; sorting keeps the output byte for byte the same.
    std::sort(all.colours.begin(), all.colours.end(),
              [](const ColourCount &a, const ColourCount &b) { return a.colour < b.colour; });

    std::vector<Box> boxes;
    if (!all.colours.empty())
        boxes.push_back(std::move(all));
    const int wanted = size - int(fixed.size());
    while (int(boxes.size()) < wanted) {
        int pick = -1;
        int pickAxis = 0;
        double pickSpread = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[size_t(i)].colours.size() < 2)
                continue;
            for (int axis = 0; axis < 3; ++axis) {
                const double s = boxes[size_t(i)].spread(axis);
                if (s > pickSpread) {
                    pick = i;
                    pickAxis = axis;
                    pickSpread = s;
                }
            }
        }
        if (pick < 0)
            break;
        Box &box = boxes[size_t(pick)];
        std::stable_sort(box.colours.begin(), box.colours.end(),
                         [pickAxis](const ColourCount &a, const ColourCount &b) {
                             return channel(a.colour, pickAxis) < channel(b.colour, pickAxis);
                         });
        const qint64 half = box.population() / 2;
        qint64 running = 0;
        size_t cut = 1;
        for (; cut < box.colours.size() - 1; ++cut) {
            running += box.colours[cut - 1].count;
            if (running >= half)
                break;
        }
        Box upper;
        upper.colours.assign(box.colours.begin() + qsizetype(cut), box.colours.end());
        box.colours.resize(cut);
        boxes.push_back(std::move(upper));
    }

    QList<QRgb> palette = fixed;
    for (const Box &box : boxes)
        palette.append(box.mean());
    return palette;
}

QImage toIndexed(const QImage &image, const QList<QRgb> &palette, bool dither)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    QImage out(w, h, QImage::Format_Indexed8);
    out.setColorTable(palette);

    QHash<QRgb, int> exact;
    for (int i = palette.size() - 1; i >= 0; --i)
        exact.insert(palette.at(i) | 0xff000000u, i);

    // Error rows for the current and the next line, with a spare cell at each end.
    std::vector<std::array<float, 3>> current(size_t(w + 2)), next(size_t(w + 2));
    for (int y = 0; y < h; ++y) {
        std::fill(next.begin(), next.end(), std::array<float, 3>{0, 0, 0});
        const QRgb *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const QRgb source = line[x] | 0xff000000u;
            const auto hit = exact.constFind(source);
            if (hit != exact.cend()) {
                dst[x] = uchar(hit.value());
                continue;
            }
            const std::array<float, 3> &err = current[size_t(x + 1)];
            const QRgb wanted =
                dither ? qRgb(std::clamp(int(std::lround(qRed(source) + err[0])), 0, 255),
                              std::clamp(int(std::lround(qGreen(source) + err[1])), 0, 255),
                              std::clamp(int(std::lround(qBlue(source) + err[2])), 0, 255))
                       : source;
            const int index = nearest(palette, wanted);
            dst[x] = uchar(index);
            if (!dither)
                continue;
            const QRgb got = palette.at(index);
            const float e[3] = {float(qRed(wanted) - qRed(got)),
                                float(qGreen(wanted) - qGreen(got)),
                                float(qBlue(wanted) - qBlue(got))};
            for (int k = 0; k < 3; ++k) {
                current[size_t(x + 2)][size_t(k)] += e[k] * 7 / 16;
                next[size_t(x)][size_t(k)] += e[k] * 3 / 16;
                next[size_t(x + 1)][size_t(k)] += e[k] * 5 / 16;
                next[size_t(x + 2)][size_t(k)] += e[k] * 1 / 16;
            }
        }
        std::swap(current, next);
    }
    return out;
}

} // namespace ruvo::artgen
