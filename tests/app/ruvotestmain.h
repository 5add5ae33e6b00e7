// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/ruvoapplication.h"

#include <QTest>

// QTEST_MAIN with the program's own application object, which shows what event handlers throw.
#define RUVO_TEST_MAIN(TestObject)                                                                 \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        ruvo::RuvoApplication app(argc, argv);                                                     \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
