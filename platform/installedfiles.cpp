// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "installedfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace ruvo {

namespace {

// Relative paths from the program's folder, as the install lays them out (GNUInstallDirs).
constexpr auto kProgramToData = RUVO_PROGRAM_TO_DATA;
constexpr auto kProgramToModules = RUVO_PROGRAM_TO_MODULES;

QString fromProgramFolder(const char *relative)
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                           QString::fromUtf8(relative));
}

} // namespace

QString InstalledDataFolder()
{
    return fromProgramFolder(kProgramToData);
}

QString InstalledModuleFolder()
{
    return fromProgramFolder(kProgramToModules);
}

QObject *LoadProgramModule(const char *name, QString *failures)
{
    QStringList folders = {QCoreApplication::applicationDirPath(), InstalledModuleFolder()};
    if (const QString named = qEnvironmentVariable("RUVO_MODULE_DIR"); !named.isEmpty())
        folders.prepend(named);
    for (const QString &folder : std::as_const(folders)) {
        QPluginLoader loader(folder + u'/' + QLatin1StringView(name));
        if (QObject *instance = loader.instance())
            return instance;
        if (failures)
            *failures += u"\n  " + loader.errorString();
    }
    return nullptr;
}

QString StartOrInstalledFile(const QString &startFolder, const QString &name)
{
    // Joined as given: the start folder's own paths keep the form they always had.
    const QString own = startFolder.endsWith(u'/') ? QString(startFolder + name)
                                                   : QString(startFolder + u'/' + name);
    if (QFileInfo::exists(own))
        return own;
    const QString installed = QDir(InstalledDataFolder()).filePath(name);
    return QFileInfo::exists(installed) ? installed : own;
}

} // namespace ruvo
