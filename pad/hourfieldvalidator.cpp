// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "hourfieldvalidator.h"

#include "notes/cleantext.h"

namespace ruvo {

QValidator::State HourFieldValidator::validate(QString &input, int &position) const
{
    CleanHourInput(input, position, m_maxLength);
    return Acceptable;
}

} // namespace ruvo
