// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the start-up runners share: the private folders of one run, the commands they start and
// the median they report.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ruvobench {

namespace fs = std::filesystem;

// A run's private folders; gone with the object. Every run starts as a first start would: an
// empty start folder (no day files, no lock of an earlier copy), settings that keep the about
// box shut, runtime and data folders of its own.
class RunFolder
{
public:
    RunFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "ruvo-startup-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::exit(2);
        }
        m_root = pattern;
        fs::create_directory(start());
        fs::create_directory(config());
        fs::create_directory(data());
        fs::create_directory(runtime());
        chmod(runtime().c_str(), 0700);
        // The about box stays shut at exit, as a user who ticked it has it.
        std::ofstream(config() / "Ruvo.ini") << "[Propri\xc3\xa9t\xc3\xa9s]\napropos=1\n";
    }
    ~RunFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    RunFolder(const RunFolder &) = delete;
    RunFolder &operator=(const RunFolder &) = delete;

    fs::path start() const { return m_root / "start"; }
    fs::path config() const { return m_root / "config"; }
    fs::path data() const { return m_root / "share"; }
    fs::path runtime() const { return m_root / "runtime"; }
    fs::path paintTime() const { return m_root / "painted"; }

private:
    fs::path m_root;
};

struct Command
{
    std::string name;
    std::vector<std::string> arguments; // the executable first, as an absolute path
};

// NAME=EXECUTABLE[,ARGUMENT...]
inline Command parseCommand(const std::string &text)
{
    Command command;
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        std::fprintf(stderr, "not NAME=EXECUTABLE: %s\n", text.c_str());
        std::exit(2);
    }
    command.name = text.substr(0, equals);
    std::size_t start = equals + 1;
    while (true) {
        const std::size_t comma = text.find(',', start);
        command.arguments.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    // Absolute, since every run starts in a folder of its own.
    command.arguments.front() = fs::absolute(command.arguments.front()).string();
    return command;
}

// The command line every runner takes: RUNS NAME=EXECUTABLE[,ARGUMENT...] ...; prints the usage
// and exits when it is not that.
inline std::vector<Command> parseCommandLine(int argc, char **argv, int &runs)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS NAME=EXECUTABLE[,ARGUMENT...] ...\n", argv[0]);
        std::exit(2);
    }
    runs = std::max(1, std::atoi(argv[1]));
    std::vector<Command> commands;
    for (int i = 2; i < argc; ++i)
        commands.push_back(parseCommand(argv[i]));
    return commands;
}

// In the forked child: enters the run's folders on the given Qt platform and becomes the
// command. Returns only to _exit.
[[noreturn]] inline void execInFolder(const Command &command, const RunFolder &folder,
                                      const char *platform)
{
    if (chdir(folder.start().c_str()) != 0)
        _exit(126);
    setenv("QT_QPA_PLATFORM", platform, 1);
    setenv("XDG_CONFIG_HOME", folder.config().c_str(), 1);
    setenv("XDG_DATA_HOME", folder.data().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.runtime().c_str(), 1);
    setenv("RUVO_BENCH_PAINT_FILE", folder.paintTime().c_str(), 1);
    std::vector<char *> argv;
    for (const std::string &argument : command.arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv.front(), argv.data());
    _exit(127);
}

template<typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace ruvobench
