// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The export of a whole folder to a calendar file and to Markdown, beside the floor it cannot
// beat: reading every day file of the same folder. Each is also run in a fresh process of its
// own, whose peak resident memory tells whether the export holds more than the day it writes.

#include "calendar/error.h"
#include "notes/dayfilefolder.h"
#include "notes/dayfiles.h"
#include "notes/notesexport.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

using namespace ruvo;

namespace {

const QDate kToday(2026, 12, 8);
const QString kExtension = QStringLiteral("ruv");
// A scale from 07:00 as the program's own, so its last rows are the evening's.
constexpr int kStartTime = 7;
constexpr TLanguage kLanguage = laFrench;
constexpr auto kChildOption = "--export-in-child";

constexpr std::array kNotes = {
    u"Appeler Hélène pour le devis de la toiture, rappeler avant midi",
    u"Courses : pain, lait, café, pommes; ne pas oublier le fromage",
    u"Envoyer le rapport trimestriel à Marc",
    u"Réserver le train pour Lyon (aller le 12, retour le 15)",
    u"Anniversaire de Julie samedi — acheter un cadeau",
    u"Répondre au courrier de la banque",
    u"Préparer la présentation du projet pour le comité de direction",
    u"Vérifier les comptes du mois",
    u"Écrire à la mairie au sujet du stationnement",
    u"Faire une sauvegarde de l'ordinateur",
    u"Lire le journal",
};

constexpr std::array kEntries = {u"Café avec Anne", u"Dossier Martin",  u"Déjeuner",
                                 u"Appel client",   u"Réunion salle 3", u"Cours d'anglais",
                                 u"Marché",         u"Atelier peinture"};

// A full page for each day: 20 note lines (a blank one parting two paragraphs) and 17 hours.
QByteArray notesOf(int day)
{
    QStringList lines;
    for (int i = 0; i < 20; ++i)
        lines << (i == 8 ? QString()
                         : QString::fromUtf16(kNotes[std::size_t(day + i) % kNotes.size()]));
    return DayFileBytes(lines);
}

QByteArray hoursOf(int day)
{
    QStringList rows;
    for (int row = 0; row < kHourRows; ++row)
        rows << QString::fromUtf16(kEntries[std::size_t(day * 3 + row) % kEntries.size()]);
    return DayFileBytes(rows);
}

// In memory when the machine has a tmpfs at hand, so the disk's speed is no part of the figures.
QString temporaryTemplate(const char *name)
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString root = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return root + u"/ruvo-bench-" + QLatin1StringView(name) + u"-XXXXXX";
}

void writePlain(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

// A folder of so many years of full pages back from today, written once per process.
struct Folder
{
    explicit Folder(int years) : dir(temporaryTemplate("days"))
    {
        if (!dir.isValid())
            std::abort();
        for (int day = 0; day < years * 365; ++day) {
            const QString stem = DayFileStem(kToday.addDays(-day));
            const QString notes = DayFilePath(dir.path(), stem, DayFileKind::Notes, kExtension);
            const QString hours =
                DayFilePath(dir.path(), stem, DayFileKind::TimeFields, kExtension);
            writePlain(notes, notesOf(day));
            writePlain(hours, hoursOf(day));
            paths << notes << hours;
        }
    }
    QTemporaryDir dir;
    QStringList paths;
};

const Folder &folder(int years)
{
    static std::map<int, std::unique_ptr<Folder>> folders;
    std::unique_ptr<Folder> &built = folders[years];
    if (!built)
        built = std::make_unique<Folder>(years);
    return *built;
}

const QTemporaryDir &targets()
{
    static const QTemporaryDir dir(temporaryTemplate("targets"));
    return dir;
}

// ---- Times

// The floor: every day file read and split into lines, by paths known beforehand.
void BM_ReadFloor(benchmark::State &state)
{
    const QStringList &paths = folder(int(state.range(0))).paths;
    for (auto _ : state) {
        for (const QString &path : paths)
            benchmark::DoNotOptimize(DayFileLines(ReadDayFileBytes(path).value()));
    }
}
BENCHMARK(BM_ReadFloor)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond)->UseRealTime();

void exportTo(benchmark::State &state, const char *name)
{
    const QString &days = folder(int(state.range(0))).dir.path();
    const QString target = targets().filePath(QLatin1StringView(name));
    for (auto _ : state)
        ExportNotes(days, kExtension, target, kStartTime, kLanguage, kToday);
    QFile::remove(target);
}

void BM_ExportICalendar(benchmark::State &state)
{
    exportTo(state, "notes.ics");
}
BENCHMARK(BM_ExportICalendar)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportMarkdown(benchmark::State &state)
{
    exportTo(state, "notes.md");
}
BENCHMARK(BM_ExportMarkdown)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- Peak memory, each in a process of its own: what the export holds, not what the benchmark
// process has gathered. The floor process reads the same files, listed as the export lists them.

// The most the process has held (VmHWM), in KiB; 0 when it cannot be read.
long peakResidentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return 0;
}

// What a child does: "read", or the export to a target named "notes.ics" or "notes.md". It
// prints its peak resident memory: the wait4 of its parent would count the pages of the
// benchmark process it was forked from.
int runChild(int argc, char **argv, const QString &what, const QString &days)
{
    const QCoreApplication core(argc, argv);
    try {
        if (what == u"read") {
            for (const DayFileEntry &entry : ListDayFiles(days, kExtension, kToday))
                benchmark::DoNotOptimize(DayFileLines(ReadDayFileBytes(entry.path).value()));
        } else {
            ExportNotes(days, kExtension, targets().filePath(what), kStartTime, kLanguage, kToday);
        }
    } catch (const Error &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::printf("%ld\n", peakResidentKib());
    return 0;
}

void peakMemory(benchmark::State &state, const char *what)
{
    const QByteArray days = QFile::encodeName(folder(int(state.range(0))).dir.path());
    const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
    long peakKib = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        int output[2];
        if (pipe(output) != 0)
            std::abort();
        const pid_t pid = fork();
        if (pid < 0)
            std::abort();
        if (pid == 0) {
            dup2(output[1], STDOUT_FILENO);
            close(output[0]);
            close(output[1]);
            execl(self.constData(), self.constData(), kChildOption, what, days.constData(),
                  static_cast<char *>(nullptr));
            _exit(127);
        }
        close(output[1]);
        std::array<char, 64> printed{};
        std::size_t length = 0;
        while (length < printed.size() - 1) {
            const ssize_t n = read(output[0], printed.data() + length, printed.size() - 1 - length);
            if (n <= 0)
                break;
            length += std::size_t(n);
        }
        close(output[0]);
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child process failed");
            break;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        peakKib = std::atol(printed.data());
    }
    state.counters["peak_kib"] = double(peakKib);
}

void BM_PeakMemoryRead(benchmark::State &state)
{
    peakMemory(state, "read");
}
void BM_PeakMemoryICalendar(benchmark::State &state)
{
    peakMemory(state, "notes.ics");
}
void BM_PeakMemoryMarkdown(benchmark::State &state)
{
    peakMemory(state, "notes.md");
}
// Memory hardly varies from run to run: five single runs are plenty.
void singleRunsOfEachFolder(benchmark::internal::Benchmark *runs)
{
    runs->Arg(10)->Arg(30)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(
        benchmark::kMillisecond);
}
BENCHMARK(BM_PeakMemoryRead)->Apply(singleRunsOfEachFolder);
BENCHMARK(BM_PeakMemoryICalendar)->Apply(singleRunsOfEachFolder);
BENCHMARK(BM_PeakMemoryMarkdown)->Apply(singleRunsOfEachFolder);

} // namespace

int main(int argc, char **argv)
{
    // bench_export --export-in-child read|notes.ics|notes.md <folder>
    if (argc == 4 && qstrcmp(argv[1], kChildOption) == 0)
        return runChild(argc, argv, QString::fromLocal8Bit(argv[2]),
                        QString::fromLocal8Bit(argv[3]));
    const QCoreApplication core(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    folder(10); // written before any timing
    folder(30);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
