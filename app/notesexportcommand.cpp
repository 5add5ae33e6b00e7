#include "notesexportcommand.h"

#include "calendar/error.h"
#include "notes/notesexport.h"

#include <QDate>

#include <cstdio>

namespace ruvo {

int ExportFromCommandLine(const QString &folder, const QString &file)
{
    try {
        ExportNotes(folder, kMainPadExtension.toString(), file, kMainPadStartTime, kMainPadLanguage,
                    QDate::currentDate());
    } catch (const Error &error) {
        std::fprintf(stderr, "Ruvo : %s\n", error.what());
        return 1;
    }
    return 0;
}

} // namespace ruvo
