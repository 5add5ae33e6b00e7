#pragma once

#include <QImage>
#include <QString>

namespace ruvo {

// Pictures are Qt resources under ":/bitmaps/<NAME>.bmp". Names are matched without regard
// to letter case, so "CalendarPad_" finds CALENDARPAD_.

// The resource path of the file in folder (for instance ":/bitmaps") whose name equals
// fileName apart from letter case; an empty text when there is none.
QString FindResourceByName(const QString &folder, const QString &fileName);

// A BMP file decoded by Qt's own reader, or an empty image. Qt asks every image format plugin
// about a picture before its built-in readers: saying the format and turning that off keeps
// the plugins (and the libraries they bring) out of the process.
QImage ReadBmpPicture(const QString &path);

// The first image of a Windows icon file whose images are uncompressed bitmaps, with its mask
// as transparency, or an empty image: the same pixels as Qt's icon plugin gives, without it.
QImage ReadIconPicture(const QString &path);

// The bitmap of that name, or an empty image when there is none. Decoded pictures are kept,
// so asking again (as a paint does) costs no decoding.
QImage LoadBitmapByName(const QString &name);

} // namespace ruvo
