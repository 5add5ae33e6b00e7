// Any bytes as the settings file: reading never fails, and writing the one value keeps the
// file readable with that value in it.

#include "platform/settingsfile.h"

#include "calendar/error.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

const QString kSection = QStringLiteral("Propriétés");
const QString kKey = QStringLiteral("apropos");

// In memory where the system offers it: every input is written and replaced twice.
QString scratchPath()
{
    static const QString folder =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static const QString path = folder + QStringLiteral("/ruvo-fuzz-settings-%1.ini").arg(getpid());
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = scratchPath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const ruvo::SettingsFile settings(path);
    const bool before = settings.readBool(kSection, kKey, false);
    try {
        settings.writeBool(kSection, kKey, !before);
    } catch (const ruvo::Error &) {
        return 0; // a file that cannot be read back whole is left alone
    }
    if (settings.readBool(kSection, kKey, before) == before)
        std::abort();
    return 0;
}
