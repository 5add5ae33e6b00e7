// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace ruvo {

// The locale of one category as the C library picks it from the environment: LC_ALL, else
// the category's own variable ("LC_TIME", "LC_MESSAGES"), else LANG; the first that is set
// and not empty, read at every call. Empty when none is.
QString LocaleVariable(const char *category);

} // namespace ruvo
