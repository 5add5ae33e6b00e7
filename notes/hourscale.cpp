// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "hourscale.h"

#include "calendar/datetext.h"

namespace ruvo {

std::array<QString, kHourRows> HourScaleLabels(int startTime, TLanguage language)
{
    std::array<QString, kHourRows> labels;
    // Only an explicit English wraps at 12; laDefault wraps at 24 whatever the system says.
    const bool twelveHour = language == laEnglish;
    int hour = startTime;
    for (QString &label : labels) {
        if (twelveHour && hour > 12)
            hour -= 12;
        else if (!twelveHour && hour > 23)
            hour = 0;
        label = ZeroPad(quint32(qMax(0, hour)), 2) + u":00";
        ++hour;
    }
    return labels;
}

QString CurrentHourText(const QTime &time)
{
    return time.isValid() ? time.toString(u"HH") : QString();
}

int CurrentHourRow(int startTime, const QString &currentHourText)
{
    for (int row = 1; row <= kHourRows; ++row) {
        const int hour = (startTime + row - 1) % 24;
        if (ZeroPad(quint32(hour), 2) == currentHourText)
            return row;
    }
    return 0;
}

} // namespace ruvo
