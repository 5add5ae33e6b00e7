#include "hourfieldvalidator.h"

#include "cleantext.h"

namespace ruvo {

QValidator::State HourFieldValidator::validate(QString &input, int &position) const
{
    const QString clean = CleanHourText(input, m_maxLength);
    if (clean != input) {
        // The cursor stays after what was before it, cleaned the same way.
        position = int(CleanHourText(input.left(position), m_maxLength).size());
        input = clean;
    }
    return Acceptable;
}

} // namespace ruvo
