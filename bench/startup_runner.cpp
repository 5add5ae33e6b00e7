// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts several commands in turn, round after round, each run in a fresh start folder with
// its own configuration and runtime folders, and reports the median wall time from fork to
// exit, the median peak resident size and the median time from fork to the end of the first
// paint (which the harness writes to RUVO_BENCH_PAINT_FILE) of each.
//
// startup_runner RUNS NAME=EXECUTABLE[,ARGUMENT...] ...
// Prints one "run" line per process and then
// "median <name> <milliseconds> <peak KiB> <milliseconds to the first paint>" for every name.

#include "startupruns.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using ruvobench::Command;
using ruvobench::RunFolder;

struct Sample
{
    double milliseconds = 0;
    long peakKib = 0;
    double paintMilliseconds = 0;
};

Sample runOnce(const Command &command)
{
    const RunFolder folder;
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        std::exit(2);
    }
    if (pid == 0)
        ruvobench::execInFolder(command, folder, "offscreen");
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        std::perror("wait4");
        std::exit(2);
    }
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not end at its first paint (status %d)\n",
                     command.name.c_str(), status);
        std::exit(1);
    }
    long long paintedNs = 0;
    if (!(std::ifstream(folder.paintTime()) >> paintedNs)) {
        std::fprintf(stderr, "%s did not write its paint time\n", command.name.c_str());
        std::exit(1);
    }
    const std::chrono::steady_clock::time_point painted{std::chrono::nanoseconds(paintedNs)};
    return {std::chrono::duration<double, std::milli>(end - begin).count(), usage.ru_maxrss,
            std::chrono::duration<double, std::milli>(painted - begin).count()};
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 0;
    const std::vector<Command> commands = ruvobench::parseCommandLine(argc, argv, runs);

    // One unmeasured run each, so all find the libraries and fonts in the page cache.
    for (const Command &command : commands)
        runOnce(command);

    std::vector<std::vector<double>> times(commands.size());
    std::vector<std::vector<long>> peaks(commands.size());
    std::vector<std::vector<double>> paints(commands.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < commands.size(); ++i) {
            const Sample sample = runOnce(commands[i]);
            times[i].push_back(sample.milliseconds);
            peaks[i].push_back(sample.peakKib);
            paints[i].push_back(sample.paintMilliseconds);
            std::printf("run %s %.3f %ld %.3f\n", commands[i].name.c_str(), sample.milliseconds,
                        sample.peakKib, sample.paintMilliseconds);
        }
    }
    for (std::size_t i = 0; i < commands.size(); ++i)
        std::printf("median %s %.3f %ld %.3f\n", commands[i].name.c_str(),
                    ruvobench::median(times[i]), ruvobench::median(peaks[i]),
                    ruvobench::median(paints[i]));
    return 0;
}
