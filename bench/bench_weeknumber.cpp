// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The week number of the last day the program works in, computed in constant time and by
// stepping Monday by Monday from the end of 1979.

#include "weeknumberreference.h"

#include "calendar/datetext.h"

#include <benchmark/benchmark.h>

namespace {

const QString kLastDay = QStringLiteral("31/12/2099");

void BM_WeekNumber(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ruvo::WeekNumber(kLastDay));
}
BENCHMARK(BM_WeekNumber);

void BM_WeekNumberByStepping(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ruvo::reference::weekNumberByStepping(kLastDay));
}
BENCHMARK(BM_WeekNumberByStepping)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
