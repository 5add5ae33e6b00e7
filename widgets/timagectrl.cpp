// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "timagectrl.h"

namespace ruvo {

TImageCtrl::TImageCtrl(QObject *parent) : QObject(parent) {}

TImageCtrl::~TImageCtrl() = default;

} // namespace ruvo
