// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QValidator>

namespace ruvo {

// Keeps an hour field to one clean line, whatever way the text arrives (typed, pasted,
// dropped, set by the program): line breaks become spaces, control characters go, and the
// field's length limit never leaves half a character behind. Every text is acceptable once
// cleaned, so nothing the user enters is refused.
class HourFieldValidator final : public QValidator
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HourFieldValidator)

public:
    explicit HourFieldValidator(qsizetype maxLength, QObject *parent = nullptr)
        : QValidator(parent), m_maxLength(maxLength)
    {}

    State validate(QString &input, int &position) const override;

private:
    qsizetype m_maxLength;
};

} // namespace ruvo
