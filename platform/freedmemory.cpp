// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "freedmemory.h"

// Included whatever the C library, since it is what defines __GLIBC__ for the test below.
#if __has_include(<malloc.h>)
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
