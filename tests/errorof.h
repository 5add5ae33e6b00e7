// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/error.h"

#include <QString>

namespace ruvo::testing {

// Runs f and returns the message of the program's Error it throws, or "" when it throws none.
template<typename F> QString errorOf(F &&f)
{
    try {
        f();
    } catch (const Error &e) {
        return e.message();
    }
    return {};
}

// The messages the user is shown for a day file, an export or a rescue file that cannot be
// written, and for one that cannot be read.
inline QString cannotCreate(const QString &path)
{
    return u"Ne peut créer le fichier " + path;
}
inline QString cannotOpen(const QString &path)
{
    return u"Ne peut ouvrir le fichier " + path;
}

} // namespace ruvo::testing
