// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "resourcebitmap.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QtEndian>

namespace ruvo {

QString FindResourceByName(const QString &folder, const QString &fileName)
{
    const QString exact = folder + u'/' + fileName;
    if (QFile::exists(exact))
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    for (const QString &entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return folder + u'/' + entry;
    }
    return {};
}

namespace {

// The uncompressed bitmaps the program carries (24-bit colour, 8 and 4-bit palettes), decoded
// straight into an image: Qt's reader goes through a pixel at a time, ten times slower, and
// QImageReader opens every image plugin's file to read its keys first. Anything else gives a
// null image, and Qt's reader takes it.
QImage decodeUncompressedBmp(QByteArrayView bytes)
{
    constexpr qsizetype kFileHeader = 14, kInfoHeader = 40, kLargest = 4096;
    if (bytes.size() < kFileHeader + kInfoHeader || bytes.first(2) != "BM")
        return {};
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const auto u16 = [data](qsizetype at) {
        return qFromLittleEndian<quint16>(data + at);
    };
    const auto u32 = [data](qsizetype at) {
        return qFromLittleEndian<quint32>(data + at);
    };
    const qsizetype bitsAt = u32(10);
    const qint32 width = qint32(u32(18));
    const qint32 signedHeight = qint32(u32(22));
    const int depth = u16(28);
    const qsizetype height = qAbs(qint64(signedHeight));
    if (u32(14) != kInfoHeader || u16(26) != 1 || u32(30) != 0 || width <= 0 || width > kLargest ||
        height == 0 || height > kLargest || (depth != 4 && depth != 8 && depth != 24))
        return {};
    const qsizetype stride = ((qsizetype(width) * depth + 31) / 32) * 4;
    const qsizetype colours = depth == 24 ? 0 : u32(46) ? qsizetype(u32(46)) : 1 << depth;
    if (colours > (qsizetype(1) << depth) || kFileHeader + kInfoHeader + colours * 4 > bitsAt ||
        bitsAt + stride * height > bytes.size())
        return {};
    // Rows are stored bottom first unless the height is negative.
    const auto rowOf = [&](qsizetype y) {
        return data + bitsAt + stride * (signedHeight > 0 ? height - 1 - y : y);
    };
    if (depth == 24) {
        QImage image(width, int(height), QImage::Format_RGB32);
        for (qsizetype y = 0; y < height; ++y) {
            const uchar *in = rowOf(y);
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
            for (qint32 x = 0; x < width; ++x, in += 3)
                out[x] = qRgb(in[2], in[1], in[0]);
        }
        return image;
    }
    QList<QRgb> table(colours);
    for (qsizetype i = 0; i < colours; ++i) {
        const uchar *quad = data + kFileHeader + kInfoHeader + i * 4;
        table[i] = qRgb(quad[2], quad[1], quad[0]);
    }
    QImage image(width, int(height), QImage::Format_Indexed8);
    image.setColorTable(table);
    for (qsizetype y = 0; y < height; ++y) {
        const uchar *in = rowOf(y);
        uchar *out = image.scanLine(int(y));
        for (qint32 x = 0; x < width; ++x) {
            const uchar index =
                depth == 8 ? in[x] : uchar(x % 2 ? in[x / 2] & 0x0f : in[x / 2] >> 4);
            if (index >= colours)
                return {};
            out[x] = index;
        }
    }
    return image;
}

QImage readBmp(QIODevice *device)
{
    const QByteArray bytes = device->readAll();
    if (QImage image = decodeUncompressedBmp(bytes); !image.isNull())
        return image;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

QImage ReadBmpPicture(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? readBmp(&file) : QImage();
}

QImage ReadIconPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray icon = file.readAll();
    // The directory (6 bytes), its first entry (16), then that image: a bitmap's header, its
    // palette, the colour rows and a one-bit mask, bottom row first, at twice the height.
    constexpr qsizetype kDirectory = 6, kEntry = 16, kInfoHeader = 40;
    const auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(icon.constData() + at);
    };
    const auto u32 = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(icon.constData() + at);
    };
    if (icon.size() < kDirectory + kEntry || u16(0) != 0 || u16(2) != 1 || u16(4) < 1)
        return {};
    const qint64 size = u32(kDirectory + 8);
    const qint64 offset = u32(kDirectory + 12);
    if (offset < kDirectory + kEntry || size < kInfoHeader || offset + size > icon.size())
        return {};
    const QByteArray dib = icon.mid(offset, size);
    const auto dibU16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(dib.constData() + at);
    };
    const auto dibU32 = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(dib.constData() + at);
    };
    const qint32 width = qint32(dibU32(4));
    const qint32 height = qint32(dibU32(8)) / 2;
    const int depth = dibU16(14);
    if (dibU32(0) != kInfoHeader || width <= 0 || width > 256 || height <= 0 || height > 256 ||
        dibU32(16) != 0 || (depth != 1 && depth != 4 && depth != 8))
        return {};
    const qsizetype colours = dibU32(32) ? qsizetype(dibU32(32)) : qsizetype(1) << depth;
    const qsizetype colourRow = ((qsizetype(width) * depth + 31) / 32) * 4;
    const qsizetype maskRow = ((qsizetype(width) + 31) / 32) * 4;
    const qsizetype bits = kInfoHeader + colours * 4;
    const qsizetype maskAt = bits + colourRow * height;
    if (colours > 256 || maskAt + maskRow * height > dib.size())
        return {};

    // The colour image alone is a bitmap file once it has a file header and its own height.
    QByteArray bmp(14, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + maskAt), bmp.data() + 2);
    qToLittleEndian<quint32>(quint32(14 + bits), bmp.data() + 10);
    bmp += dib.first(maskAt);
    qToLittleEndian<qint32>(height, bmp.data() + 14 + 8);
    qToLittleEndian<quint32>(0, bmp.data() + 14 + 20); // the image size: worked out again
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::ReadOnly);
    QImage image = readBmp(&buffer);
    if (image.size() != QSize(width, height))
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const uchar *mask =
            reinterpret_cast<const uchar *>(dib.constData()) + maskAt + maskRow * (height - 1 - y);
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (mask[x / 8] & (0x80 >> (x % 8)))
                row[x] = 0; // transparent
        }
    }
    return image;
}

QImage LoadBitmapByName(const QString &name)
{
    // Keyed by the upper-cased name: the user interface thread is the only caller.
    static QHash<QString, QImage> decoded;
    const QString key = name.toUpper();
    if (const auto found = decoded.constFind(key); found != decoded.cend())
        return *found;
    const QString path = FindResourceByName(QStringLiteral(":/bitmaps"), name + u".bmp");
    if (path.isEmpty())
        return {};
    QImage image = ReadBmpPicture(path);
    if (!image.isNull())
        decoded.insert(key, image);
    return image;
}

} // namespace ruvo
