// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace ruvo {

// Hands the memory freed after a large piece of work back to the system. The C library keeps
// what worker threads freed in their own heaps, and the resident size of a program that stays
// open for weeks would otherwise keep the peak of its largest export.
void ReturnFreedMemory();

} // namespace ruvo
