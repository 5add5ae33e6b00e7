// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>

namespace ruvo {

// Pictures are Qt resources under ":/bitmaps/<NAME>.bmp". Names are matched without regard
// to letter case, so "CalendarPad_" finds CALENDARPAD_.

// The resource path of the file in folder (for instance ":/bitmaps") whose name equals
// fileName apart from letter case; an empty text when there is none.
QString FindResourceByName(const QString &folder, const QString &fileName);

// A BMP file as an image, or an empty image. The uncompressed bitmaps the program carries (24,
// 8 and 4 bits a pixel) are decoded here; any other goes to Qt's own reader, with the format
// named and auto-detection off: Qt would otherwise ask every image format plugin about the
// picture first, loading the plugins and the libraries they bring.
QImage ReadBmpPicture(const QString &path);

// The first image of a Windows icon file whose images are uncompressed bitmaps, with its mask
// as transparency, or an empty image: the same pixels as Qt's icon plugin gives, without it.
QImage ReadIconPicture(const QString &path);

// The bitmap of that name, or an empty image when there is none. Decoded pictures are kept,
// so asking again (as a paint does) costs no decoding.
QImage LoadBitmapByName(const QString &name);

} // namespace ruvo
