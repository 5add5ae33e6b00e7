#pragma once

#include <QString>

namespace ruvo {

// Where text goes that could not be saved where it belongs when the session ends:
// $XDG_STATE_HOME/Ruvo (~/.local/state/Ruvo when it is not set, or not an absolute path).
QString RescueFolder();

} // namespace ruvo
