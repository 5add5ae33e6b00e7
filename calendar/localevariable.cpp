// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "localevariable.h"

namespace ruvo {

QString LocaleVariable(const char *category)
{
    for (const char *name : {"LC_ALL", category, "LANG"}) {
        QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

} // namespace ruvo
