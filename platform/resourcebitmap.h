#pragma once

#include <QImage>
#include <QString>

namespace ruvo {

// Pictures are Qt resources under ":/bitmaps/<NAME>.bmp". Names are matched without regard
// to letter case, so "CalendarPad_" finds CALENDARPAD_.

// The resource path of the file in folder (for instance ":/bitmaps") whose name equals
// fileName apart from letter case; an empty text when there is none.
QString FindResourceByName(const QString &folder, const QString &fileName);

// The bitmap of that name, or an empty image when there is none. Decoded pictures are kept,
// so asking again (as a paint does) costs no decoding.
QImage LoadBitmapByName(const QString &name);

} // namespace ruvo
