#include "rescuefolder.h"

#include <QDir>

namespace ruvo {

QString RescueFolder()
{
    // Qt 6.4 has no standard location for state data yet; the rule is the XDG one.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Ruvo");
}

} // namespace ruvo
