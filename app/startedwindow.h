// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tform1.h"

#include "platform/terminationsignals.h"

namespace ruvo {

// The program's start once the application object exists: the cursors of the first page,
// the main window, and SIGTERM, SIGHUP and SIGINT handed to the window's session end. The
// program and the start-up benchmark both start this way.
class StartedWindow final
{
    Q_DISABLE_COPY_MOVE(StartedWindow)

public:
    StartedWindow();

    TForm1 &form() { return m_form; }
    // Centred on its screen, then shown.
    void show();

private:
    // Registered before the window is made, which shows them.
    struct Cursors
    {
        Cursors();
    } m_cursors;
    TForm1 m_form;
    TerminationSignals m_terminationSignals;
};

} // namespace ruvo
