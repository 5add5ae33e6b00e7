// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

namespace ruvo {

class TForm1;

// Qt's X11 platform ends the process with exit(1) when its connection to the X server breaks
// (the window killed the way xkill does it, the server gone): no event, no signal, no return
// to main(), and so no save. While an ExitRescue lives, a hook of exit() first saves the
// window's page, or rescues it, as a session's end does (TForm1::savePageBeforeExit). The
// widgets still exist then: exit() does not unwind the stack. Made once the window runs;
// destroyed before main() returns, where the window has saved its page itself. One at a time.
class ExitRescue final
{
    Q_DISABLE_COPY_MOVE(ExitRescue)

public:
    explicit ExitRescue(TForm1 &form);
    ~ExitRescue();
};

} // namespace ruvo
