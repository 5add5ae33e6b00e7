// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/language.h"

class QCoreApplication;

namespace ruvo {

// Qt's own texts (the editors' context menus, the standard buttons) in a language, from
// Debian's qt6-translations-l10n when it is installed; English otherwise. Replaces what an
// earlier call installed. Returns whether a translation was found.
bool InstallQtTranslations(QCoreApplication &app, TLanguage language);

} // namespace ruvo
