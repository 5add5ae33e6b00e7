#include "hourfieldvalidator.h"

#include "notes/cleantext.h"

namespace ruvo {

QValidator::State HourFieldValidator::validate(QString &input, int &position) const
{
    CleanHourInput(input, position, m_maxLength);
    return Acceptable;
}

} // namespace ruvo
