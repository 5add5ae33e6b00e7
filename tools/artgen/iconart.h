#pragma once

#include <QByteArray>
#include <QImage>

namespace ruvo::artgen {

// The program icon, 32 x 32: a small tear-off calendar page with a red top. The picture is
// drawn with transparency; encodeProgramIcon() reduces it to 16 colours and a mask.
QImage paintProgramIcon();
QByteArray encodeProgramIcon(const QImage &icon);

} // namespace ruvo::artgen
