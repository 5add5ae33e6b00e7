#pragma once

#include <QString>

namespace ruvo {

// Where an installed Ruvo keeps what it carries (the page sound, the help documents, the
// audio module). The folders are found from the program's own folder, so an install works
// under any prefix and no path of the build or the install is compiled in.
QString InstalledDataFolder();
QString InstalledModuleFolder();

// The file called name in the start folder when it is there, else the installed copy when
// that is there, else the start folder's path (whose absence its user reports as before): a
// file the user put in the start folder always wins.
QString StartOrInstalledFile(const QString &startFolder, const QString &name);

} // namespace ruvo
