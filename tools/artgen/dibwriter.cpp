// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dibwriter.h"

#include <QtEndian>

namespace ruvo::artgen {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr qint32 kPixelsPerMetre = 3780; // 96 dpi

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

int rowStride(int width, int depth)
{
    return ((width * depth + 31) / 32) * 4;
}

void putInfoHeader(QByteArray &out, int width, int height, int depth, int colours, int imageSize)
{
    put32(out, kInfoHeaderSize);
    put32(out, quint32(width));
    put32(out, quint32(height));
    put16(out, 1); // planes
    put16(out, quint16(depth));
    put32(out, 0); // no compression
    put32(out, quint32(imageSize));
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, quint32(colours));
    put32(out, 0); // every colour matters
}

void putFileHeader(QByteArray &out, int fileSize, int pixelOffset)
{
    out.append("BM", 2);
    put32(out, quint32(fileSize));
    put32(out, 0); // reserved
    put32(out, quint32(pixelOffset));
}

void putPalette(QByteArray &out, const QImage &indexed, int entries)
{
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < entries; ++i) {
        const QRgb c = i < table.size() ? table.at(i) : qRgb(0, 0, 0);
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append(char(0));
    }
}

// Packs one row of palette indices at 1, 4 or 8 bits per pixel, high bits first.
QByteArray packedRow(const QImage &indexed, int y, int depth)
{
    QByteArray row(rowStride(indexed.width(), depth), '\0');
    const uchar *src = indexed.constScanLine(y);
    for (int x = 0; x < indexed.width(); ++x) {
        const int bit = x * depth;
        const int shift = 8 - depth - bit % 8;
        row[bit / 8] = char(uchar(row[bit / 8]) | uchar(src[x] << shift));
    }
    return row;
}

} // namespace

QByteArray encodeBmp24(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int stride = rowStride(rgb.width(), 24);
    const int offset = kFileHeaderSize + kInfoHeaderSize;
    const int imageSize = stride * rgb.height();
    QByteArray out;
    out.reserve(offset + imageSize);
    putFileHeader(out, offset + imageSize, offset);
    putInfoHeader(out, rgb.width(), rgb.height(), 24, 0, imageSize);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        const uchar *src = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            row[3 * x] = char(src[3 * x + 2]);
            row[3 * x + 1] = char(src[3 * x + 1]);
            row[3 * x + 2] = char(src[3 * x]);
        }
        out.append(row);
    }
    return out;
}

QByteArray encodeBmpIndexed(const QImage &indexed, int depth)
{
    Q_ASSERT(indexed.format() == QImage::Format_Indexed8);
    Q_ASSERT(depth == 1 || depth == 4 || depth == 8);
    Q_ASSERT(indexed.colorCount() <= (1 << depth));
    const int entries = 1 << depth;
    const int offset = kFileHeaderSize + kInfoHeaderSize + 4 * entries;
    const int imageSize = rowStride(indexed.width(), depth) * indexed.height();
    QByteArray out;
    out.reserve(offset + imageSize);
    putFileHeader(out, offset + imageSize, offset);
    putInfoHeader(out, indexed.width(), indexed.height(), depth, entries, imageSize);
    putPalette(out, indexed, entries);
    for (int y = indexed.height() - 1; y >= 0; --y)
        out.append(packedRow(indexed, y, depth));
    return out;
}

QByteArray encodeIco4(const QImage &indexed, const std::vector<bool> &transparent)
{
    Q_ASSERT(indexed.format() == QImage::Format_Indexed8 && indexed.colorCount() <= 16);
    const int w = indexed.width();
    const int h = indexed.height();
    Q_ASSERT(transparent.size() == size_t(w * h));
    const int colourBytes = rowStride(w, 4) * h;
    const int maskBytes = rowStride(w, 1) * h;
    const int imageBytes = kInfoHeaderSize + 16 * 4 + colourBytes + maskBytes;
    constexpr int kDirSize = 6 + 16;

    QByteArray out;
    put16(out, 0); // reserved
    put16(out, 1); // icon
    put16(out, 1); // one image
    out.append(char(w));
    out.append(char(h));
    out.append(char(16)); // colours
    out.append(char(0));
    put16(out, 1); // planes
    put16(out, 4); // bits per pixel
    put32(out, quint32(imageBytes));
    put32(out, kDirSize);

    // The stored height counts the colour image and the mask together.
    put32(out, kInfoHeaderSize);
    put32(out, quint32(w));
    put32(out, quint32(2 * h));
    put16(out, 1);
    put16(out, 4);
    put32(out, 0);
    put32(out, quint32(colourBytes + maskBytes));
    put32(out, 0);
    put32(out, 0);
    put32(out, 16);
    put32(out, 0);
    putPalette(out, indexed, 16);
    for (int y = h - 1; y >= 0; --y)
        out.append(packedRow(indexed, y, 4));
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(rowStride(w, 1), '\0');
        for (int x = 0; x < w; ++x) {
            if (transparent[size_t(y * w + x)])
                row[x / 8] = char(uchar(row[x / 8]) | uchar(0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

} // namespace ruvo::artgen
