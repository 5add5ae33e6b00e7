// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "freedmemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace ruvo {

void ReturnFreedMemory()
{
#if defined(__GLIBC__)
    // Every heap, not only the top of the main one: the free pages inside them go back too.
    ::malloc_trim(0);
#endif
}

} // namespace ruvo
