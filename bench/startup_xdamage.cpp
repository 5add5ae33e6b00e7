// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times start-up as an X server sees it: from the fork of each command to the first drawing
// its window puts on the screen, reported by the server's DAMAGE extension. Commands run in
// turn, round after round, each in a fresh start folder (startupruns.h) on Qt's xcb platform.
// After the first damage the child gets SIGTERM (the program does not end on its own) and the
// next run waits until the server has destroyed the child's windows.
//
// startup_xdamage RUNS NAME=EXECUTABLE[,ARGUMENT...] ...
// DISPLAY names the server, which should have no other client drawing. Prints
// "run <name> <ms to first damage> <ms to map>" per process, then
// "median <name> <ms to first damage> <ms to map>" for every name.
// RUVO_BENCH_X_TRACE=1 also prints every event of every run on stderr.
// RUVO_BENCH_X_CLICK_AFTER=MS: MS after the first damage, the pointer (moved there at the first
// damage) clicks the page's next-day corner through XTEST, and a third figure is the time from
// that click to the first damage after it: how long the window takes to answer.
// RUVO_BENCH_X_EXPIRED=NAME: the start folder of that command holds a year of expired day files
// (both files of the 335 days the main window's purge moves) and today's notes.

#include "startupruns.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using ruvobench::Command;
using ruvobench::RunFolder;

// A command that never draws fails the whole run rather than hanging it.
constexpr auto kGiveUp = std::chrono::seconds(20);

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Thrown, so that a failed run's folder and child go with the stack.
[[noreturn]] void fail(const char *what, const std::string &name = {})
{
    throw std::runtime_error(name.empty() ? what : name + ": " + what);
}

// The child, ended and waited for however the run ends.
class Child
{
public:
    explicit Child(pid_t pid)
        // glibc's pidfd_open lacks C linkage here.
        : m_pid(pid), m_endFd(int(syscall(SYS_pidfd_open, pid, 0)))
    {
        if (m_endFd < 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            fail("pidfd_open failed");
        }
    }
    ~Child()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_endFd);
    }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    // Readable once the child has ended.
    int endFd() const { return m_endFd; }

    // SIGTERM, as the program has to be asked to end; the exit status.
    int terminate()
    {
        kill(m_pid, SIGTERM);
        int status = 0;
        if (waitpid(m_pid, &status, 0) != m_pid)
            fail("lost the child");
        m_pid = 0;
        return status;
    }

private:
    pid_t m_pid;
    int m_endFd;
};

// A top-level window made during the run, in root coordinates with its border.
struct TopLevel
{
    int x = 0, y = 0, width = 0, height = 0;
    bool mapped = false;

    bool meets(const xcb_rectangle_t &r) const
    {
        return r.x < x + width && x < r.x + r.width && r.y < y + height && y < r.y + r.height;
    }
};

struct Run
{
    std::string name;
    Clock::time_point begin;
    std::map<xcb_window_t, TopLevel> windows;
    std::optional<Clock::time_point> mapped;
    std::optional<Clock::time_point> damaged;
    // The click sent into the window, and the first damage after it.
    std::optional<Clock::time_point> clicked;
    std::optional<Clock::time_point> answered;
};

class XServer
{
public:
    XServer()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            fail("no X server on DISPLAY");
        // Not handed down to the children.
        fcntl(xcb_get_file_descriptor(m_connection), F_SETFD, FD_CLOEXEC);
        free(xcb_test_get_version_reply(m_connection, xcb_test_get_version(m_connection, 2, 2),
                                        nullptr));
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const xcb_query_extension_reply_t *damage =
            xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            fail("the X server has no DAMAGE extension");
        m_damageNotify = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(m_connection,
                                            xcb_damage_query_version(m_connection, 1, 1), nullptr));
        // On the root, the damage takes in what is drawn into every window on the screen.
        // Raw rectangles, not NON_EMPTY: that level reports once until the damage is
        // subtracted, and each rectangle must be checked against the child's window.
        m_damage = xcb_generate_id(m_connection);
        xcb_damage_create(m_connection, m_damage, m_root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        // The child's top-levels are the root's children: their making, placing and mapping.
        const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
        // The damage's creation reports the whole screen: not a run's.
        Run none;
        roundTrip();
        readEvents(none);
    }
    ~XServer()
    {
        xcb_damage_destroy(m_connection, m_damage);
        xcb_disconnect(m_connection);
    }
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    int fd() const { return xcb_get_file_descriptor(m_connection); }

    // Everything the server has sent so far, taken into the run.
    void readEvents(Run &run)
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            take(run, *event, Clock::now());
            free(event);
        }
        if (xcb_connection_has_error(m_connection))
            fail("lost the X server");
    }

    // The pointer to the page's next-day corner of the child's largest window, as XTEST moves it.
    void pointAtNextCorner(const Run &run)
    {
        const TopLevel *page = nullptr;
        for (const auto &[id, window] : run.windows) {
            if (window.mapped &&
                (!page || window.width * window.height > page->width * page->height))
                page = &window;
        }
        if (!page)
            fail("no window to click");
        // The pad fills the bottom of the window; its next-day corner is 17 by 13 pixels in from
        // the pad's bottom right.
        xcb_test_fake_input(m_connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root,
                            int16_t(page->x + page->width - 17),
                            int16_t(page->y + page->height - 13), 0);
        xcb_flush(m_connection);
    }
    // A press and release of the first button where the pointer is.
    void click()
    {
        for (const uint8_t type : {uint8_t(XCB_BUTTON_PRESS), uint8_t(XCB_BUTTON_RELEASE)})
            xcb_test_fake_input(m_connection, type, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(m_connection);
    }

    // The server has handled every request of this connection and sent what came before.
    void roundTrip()
    {
        free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

private:
    void take(Run &run, const xcb_generic_event_t &event, Clock::time_point now)
    {
        const int type = event.response_type & 0x7f;
        static const bool trace = std::getenv("RUVO_BENCH_X_TRACE");
        auto log = [&](const char *what, uint32_t window, int x, int y, int w, int h) {
            if (trace)
                std::fprintf(stderr, "%s %9.3f ms %s 0x%x %d,%d %dx%d\n", run.name.c_str(),
                             msBetween(run.begin, now), what, window, x, y, w, h);
        };
        switch (type) {
        case XCB_CREATE_NOTIFY: {
            const auto &e = reinterpret_cast<const xcb_create_notify_event_t &>(event);
            if (e.parent == m_root)
                run.windows[e.window] = {e.x, e.y, e.width + 2 * e.border_width,
                                         e.height + 2 * e.border_width};
            log("create", e.window, e.x, e.y, e.width, e.height);
            break;
        }
        case XCB_CONFIGURE_NOTIFY: {
            const auto &e = reinterpret_cast<const xcb_configure_notify_event_t &>(event);
            if (const auto found = run.windows.find(e.window); found != run.windows.end())
                found->second = {e.x, e.y, e.width + 2 * e.border_width,
                                 e.height + 2 * e.border_width, found->second.mapped};
            log("configure", e.window, e.x, e.y, e.width, e.height);
            break;
        }
        case XCB_MAP_NOTIFY: {
            const auto &e = reinterpret_cast<const xcb_map_notify_event_t &>(event);
            if (const auto found = run.windows.find(e.window); found != run.windows.end()) {
                found->second.mapped = true;
                if (!run.mapped)
                    run.mapped = now;
            }
            log("map", e.window, 0, 0, 0, 0);
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            const auto &e = reinterpret_cast<const xcb_unmap_notify_event_t &>(event);
            if (const auto found = run.windows.find(e.window); found != run.windows.end())
                found->second.mapped = false;
            log("unmap", e.window, 0, 0, 0, 0);
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto &e = reinterpret_cast<const xcb_destroy_notify_event_t &>(event);
            run.windows.erase(e.window);
            log("destroy", e.window, 0, 0, 0, 0);
            break;
        }
        default:
            if (type == m_damageNotify) {
                const auto &e = reinterpret_cast<const xcb_damage_notify_event_t &>(event);
                // Only drawing on a mapped window of the child counts: not the root's own
                // repaint where the last run's window was. Qt's xcb windows have no
                // background, so mapping one draws nothing and the first damage on it is the
                // first frame Qt puts there: under Xvfb no damage comes with their MapNotify
                // (a window given a background pixel is damaged at its map), and the screen
                // read under a server grab at that damage holds the whole painted window.
                const bool childs =
                    std::any_of(run.windows.begin(), run.windows.end(), [&](const auto &w) {
                        return w.second.mapped && w.second.meets(e.area);
                    });
                if (childs && !run.damaged)
                    run.damaged = now;
                if (childs && run.clicked && !run.answered)
                    run.answered = now;
                log(childs ? "damage" : "damage (not the child's)", e.drawable, e.area.x, e.area.y,
                    e.area.width, e.area.height);
            }
            break;
        }
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_damage_damage_t m_damage = 0;
    int m_damageNotify = 0;
};

enum class Woken { Events, ChildEnded, Deadline };

// Waits for the server's events, the child's end (while endFd is given) or the deadline.
Woken waitForEvents(const XServer &server, int endFd, Clock::time_point deadline)
{
    pollfd fds[2] = {{server.fd(), POLLIN, 0}, {endFd, POLLIN, 0}};
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0 || poll(fds, endFd < 0 ? 1 : 2, int(left.count())) <= 0)
        return Woken::Deadline;
    return fds[0].revents ? Woken::Events : Woken::ChildEnded;
}

struct Sample
{
    double damageMilliseconds = 0;
    double mapMilliseconds = 0;
    double answerMilliseconds = 0; // with RUVO_BENCH_X_CLICK_AFTER
};

// The local date daysBack days before today as a day file's stem, "ddmmyy".
std::string dayStem(int daysBack)
{
    std::time_t now = std::time(nullptr);
    std::tm day{};
    localtime_r(&now, &day);
    day.tm_mday -= daysBack;
    day.tm_hour = 12; // away from any change of the clock
    std::mktime(&day);
    const auto twoDigits = [](int n) {
        return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10);
    };
    return twoDigits(day.tm_mday) + twoDigits(day.tm_mon + 1) + twoDigits(day.tm_year % 100);
}

// Both files of the days from 365 to 31 days back, which the main window's purge moves to the
// trash, and today's notes, which keep the clock's days from being taken for old ones.
void writeExpiredDays(const RunFolder &folder)
{
    for (int back = 31; back <= 365; ++back) {
        std::ofstream(folder.start() / (dayStem(back) + "N.ruv")) << "Notes d'un jour passé\r\n";
        std::ofstream(folder.start() / (dayStem(back) + "T.ruv")) << "Réunion\r\n";
    }
    std::ofstream(folder.start() / (dayStem(0) + "N.ruv")) << "Aujourd'hui\r\n";
}

// The run's folder stays in folders until the harness ends: the thousands of files a run
// leaves would otherwise be deleted during the next ones, whose files each of them makes then
// waits for (ext4 passes over the inodes deleted in the last minute, one by one).
Sample runOnce(XServer &server, const Command &command,
               std::vector<std::unique_ptr<RunFolder>> &folders)
{
    const RunFolder &folder = *folders.emplace_back(std::make_unique<RunFolder>());
    static const char *const expired = std::getenv("RUVO_BENCH_X_EXPIRED");
    if (expired && command.name == expired)
        writeExpiredDays(folder);
    // A folder of days long past is on the disk, not in a write the journal has yet to commit.
    ::sync();
    static const char *const clickAfter = std::getenv("RUVO_BENCH_X_CLICK_AFTER");
    const auto clickDelay = std::chrono::milliseconds(clickAfter ? std::atoi(clickAfter) : 0);
    Run run;
    run.name = command.name;
    run.begin = Clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        fail("cannot fork");
    if (pid == 0)
        ruvobench::execInFolder(command, folder, "xcb");
    Child child(pid);

    auto deadline = run.begin + kGiveUp;
    bool ended = false;
    std::optional<Clock::time_point> clickAt;
    while (true) {
        server.readEvents(run);
        if (run.damaged && !clickAfter)
            break;
        if (run.damaged && !clickAt) {
            clickAt = *run.damaged + clickDelay;
            server.pointAtNextCorner(run);
        }
        if (clickAt && !run.clicked && Clock::now() >= *clickAt) {
            server.click();
            run.clicked = Clock::now();
        }
        if (run.answered)
            break;
        const Woken woken =
            waitForEvents(server, ended ? -1 : child.endFd(),
                          clickAt && !run.clicked ? std::min(deadline, *clickAt) : deadline);
        if (woken == Woken::Deadline && clickAt && !run.clicked)
            continue;
        if (woken == Woken::Deadline)
            fail(ended ? "ended without drawing" : "drew nothing in time", command.name);
        if (woken == Woken::ChildEnded) {
            ended = true;
            // What it sent before its end reaches the server well within a second.
            deadline = std::min(deadline, Clock::now() + std::chrono::seconds(1));
        }
    }
    const int status = child.terminate();
    const bool clean = (WIFEXITED(status) && WEXITSTATUS(status) == 0) ||
                       (WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    if (!clean)
        fail("did not end cleanly", command.name);

    // The next run starts on a screen without this one's windows, and the root's repaint where
    // they were has been reported (and left out) by then.
    while (!run.windows.empty()) {
        if (waitForEvents(server, -1, Clock::now() + kGiveUp) == Woken::Deadline)
            fail("its windows stayed on the screen", command.name);
        server.readEvents(run);
    }
    server.roundTrip();
    server.readEvents(run);

    return {msBetween(run.begin, *run.damaged),
            run.mapped ? msBetween(run.begin, *run.mapped) : 0.0,
            run.answered ? msBetween(*run.clicked, *run.answered) : 0.0};
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 0;
    const std::vector<Command> commands = ruvobench::parseCommandLine(argc, argv, runs);

    std::vector<std::vector<double>> damages(commands.size());
    std::vector<std::vector<double>> maps(commands.size());
    std::vector<std::vector<double>> answers(commands.size());
    try {
        XServer server;
        std::vector<std::unique_ptr<RunFolder>> folders;
        // One unmeasured run each, so all find the libraries and fonts in the page cache.
        for (const Command &command : commands)
            runOnce(server, command, folders);
        for (int run = 0; run < runs; ++run) {
            for (std::size_t i = 0; i < commands.size(); ++i) {
                const Sample sample = runOnce(server, commands[i], folders);
                damages[i].push_back(sample.damageMilliseconds);
                maps[i].push_back(sample.mapMilliseconds);
                answers[i].push_back(sample.answerMilliseconds);
                std::printf("run %s %.3f %.3f %.3f\n", commands[i].name.c_str(),
                            sample.damageMilliseconds, sample.mapMilliseconds,
                            sample.answerMilliseconds);
            }
        }
    } catch (const std::runtime_error &error) {
        std::fprintf(stderr, "startup_xdamage: %s\n", error.what());
        return 1;
    }
    for (std::size_t i = 0; i < commands.size(); ++i)
        std::printf("median %s %.3f %.3f %.3f\n", commands[i].name.c_str(),
                    ruvobench::median(damages[i]), ruvobench::median(maps[i]),
                    ruvobench::median(answers[i]));
    return 0;
}
