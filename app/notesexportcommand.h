#pragma once

#include "calendar/language.h"

#include <QString>
#include <QStringView>

namespace ruvo {

// What the main window's form (resources/forms/tform1.ui) gives its pad. The export from the
// command line has no window and reads the day files with the same values; the main window's
// test holds the form to them.
constexpr int kMainPadStartTime = 7;
constexpr QStringView kMainPadExtension = u"ruv";
constexpr TLanguage kMainPadLanguage = laDefault;

// `ruvo --export FILE`: writes the notes of every day of folder to file as the main window's pad
// reads them. Returns the process's exit code: 0, or 1 with the message on standard error.
int ExportFromCommandLine(const QString &folder, const QString &file);

} // namespace ruvo
