// Starts several commands in turn, round after round, each run in a fresh start folder with
// its own configuration and runtime folders, and reports the median wall time from fork to
// exit, the median peak resident size and the median time from fork to the end of the first
// paint (which the harness writes to RUVO_BENCH_PAINT_FILE) of each.
//
// startup_runner RUNS NAME=EXECUTABLE[,ARGUMENT...] ...
// Prints one "run" line per process and then
// "median <name> <milliseconds> <peak KiB> <milliseconds to the first paint>" for every name.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Sample
{
    double milliseconds = 0;
    long peakKib = 0;
    double paintMilliseconds = 0;
};

// A run's private folders; gone with the object.
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

Command parseCommand(const std::string &text)
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

Sample runOnce(const Command &command)
{
    const RunFolder folder;
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        std::exit(2);
    }
    if (pid == 0) {
        if (chdir(folder.start().c_str()) != 0)
            _exit(126);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_CONFIG_HOME", folder.config().c_str(), 1);
        setenv("XDG_RUNTIME_DIR", folder.runtime().c_str(), 1);
        setenv("RUVO_BENCH_PAINT_FILE", folder.paintTime().c_str(), 1);
        std::vector<char *> argv;
        for (const std::string &argument : command.arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv.front(), argv.data());
        _exit(127);
    }
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

template<typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS NAME=EXECUTABLE[,ARGUMENT...] ...\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<Command> commands;
    for (int i = 2; i < argc; ++i)
        commands.push_back(parseCommand(argv[i]));

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
        std::printf("median %s %.3f %ld %.3f\n", commands[i].name.c_str(), median(times[i]),
                    median(peaks[i]), median(paints[i]));
    return 0;
}
