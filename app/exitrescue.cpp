// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exitrescue.h"

#include "tform1.h"

#include <cstdlib>
#include <unistd.h>
#include <utility>

namespace ruvo {

namespace {

// The window an exit() saves; a hook of exit() is given nothing. Set only while one is armed.
TForm1 *g_savedAtExit = nullptr;

void savePageAtExit()
{
    TForm1 *form = std::exchange(g_savedAtExit, nullptr);
    // The widgets belong to the main thread; an exit() from another one leaves them alone.
    if (form && ::gettid() == ::getpid())
        form->savePageBeforeExit();
}

} // namespace

ExitRescue::ExitRescue(TForm1 &form)
{
    // A hook cannot be taken back: registered once, it does nothing while none is armed.
    [[maybe_unused]] static const bool hooked = std::atexit(savePageAtExit) == 0;
    g_savedAtExit = &form;
}

ExitRescue::~ExitRescue()
{
    g_savedAtExit = nullptr;
}

} // namespace ruvo
