// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace ruvo {

// The program's one exception type. It carries the exact text the user is shown; the
// application-wide handler turns it into a message box and the program goes on.
class Error : public std::exception
{
public:
    explicit Error(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace ruvo
