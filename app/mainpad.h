// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/language.h"

#include <QStringView>

namespace ruvo {

// What the main window gives its pad beyond the form (resources/forms/tform1.ui): the day
// files' extension, the first hour of the scale and the page's language. The export from the
// command line has no window and reads the day files with the same values.
constexpr int kMainPadStartTime = 7;
constexpr QStringView kMainPadExtension = u"ruv";
constexpr TLanguage kMainPadLanguage = laDefault;

} // namespace ruvo
