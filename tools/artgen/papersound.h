// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

namespace ruvo::artgen {

// The page-turn sound as a complete wave file: 16-bit PCM, mono, 22050 Hz, about 0.38 s of
// filtered noise shaped like a sheet of paper flipping over.
QByteArray synthesizePaperSound();

} // namespace ruvo::artgen
