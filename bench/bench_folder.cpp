// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What looks across a whole folder of day files, each beside the floor it cannot beat: the search
// through every note, the search window's keystrokes while a search runs, how soon its first hit
// shows, the marked days of a month, and how long the main window's thread stalls while it
// exports the folder.

#include "app/searchwindow.h"
#include "app/tform1.h"
#include "notes/dayfilefolder.h"
#include "notes/dayfiles.h"
#include "notes/daypurge.h"
#include "notes/notessearch.h"
#include "pad/tcalendarpad.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <array>
#include <bitset>
#include <cstdlib>

using namespace ruvo;

namespace {

// Twenty years of days, each with a full page: 20 note lines and 17 hour entries.
constexpr int kDays = 7300;
const QDate kToday(2026, 12, 8);
const QString kExtension = QStringLiteral("ruv");

// Found on one day in a hundred, and three times on every day (once in the notes, twice in the
// hour entries, written with its accent).
const QString kRareQuery = QStringLiteral("dentiste");
const QString kOftenQuery = QStringLiteral("reunion");
constexpr int kRareEvery = 100;
constexpr int kOftenPerDay = 3;

constexpr std::array kNotes = {
    u"Appeler Hélène pour le devis de la toiture",
    u"Courses : pain, lait, café, pommes",
    u"Envoyer le rapport trimestriel à Marc",
    u"Payer la facture d'électricité",
    u"Relire le chapitre 3 avant jeudi",
    u"Réserver le train pour Lyon",
    u"Anniversaire de Julie samedi",
    u"Passer à la pharmacie",
    u"Répondre au courrier de la banque",
    u"Arroser les plantes du balcon",
    u"Préparer la présentation du projet",
    u"Sortir les poubelles ce soir",
    u"Rappeler le garage pour la révision",
    u"Acheter des timbres",
    u"Vérifier les comptes du mois",
    u"Ranger le bureau",
    u"Prendre des nouvelles de Paul",
    u"Commander les fournitures",
    u"Noter les idées pour les vacances",
    u"Faire une sauvegarde de l'ordinateur",
    u"Écrire à la mairie",
    u"Chercher une recette de gâteau",
    u"Lire le journal",
};

constexpr std::array kEntries = {u"Café avec Anne",  u"Dossier Martin",  u"Déjeuner",
                                 u"Appel client",    u"Sport",           u"Courrier",
                                 u"Bibliothèque",    u"Relecture",       u"Marché",
                                 u"Cours d'anglais", u"Atelier peinture"};

QStringList notesOf(int day)
{
    QStringList lines;
    for (int i = 0; i < 20; ++i)
        lines << QString::fromUtf16(kNotes[std::size_t(day * 7 + i) % kNotes.size()]);
    lines[5] = QStringLiteral("Réunion d'équipe à 10 h");
    if (day % kRareEvery == 0)
        lines[12] = QStringLiteral("Rendez-vous chez le dentiste à 15 h");
    return lines;
}

QStringList entriesOf(int day)
{
    QStringList rows;
    for (int row = 0; row < 17; ++row)
        rows << QString::fromUtf16(kEntries[std::size_t(day + row) % kEntries.size()]);
    rows[2] = QStringLiteral("Réunion salle 3");
    rows[9] = QStringLiteral("Réunion de service");
    return rows;
}

void writePlain(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

// Thirty years of the same days, for the first hit in the largest folder a user may keep.
constexpr int kThirtyYears = 10950;

// The folder, written once per process as the program writes its day files.
struct Folder
{
    explicit Folder(int days = kDays)
    {
        for (int day = 0; day < days; ++day) {
            const QString stem = kToday.addDays(-day).toString(QStringLiteral("ddMMyy"));
            const QString notes = DayFilePath(dir.path(), stem, DayFileKind::Notes, kExtension);
            const QString rows = DayFilePath(dir.path(), stem, DayFileKind::TimeFields, kExtension);
            writePlain(notes, DayFileBytes(notesOf(day)));
            writePlain(rows, DayFileBytes(entriesOf(day)));
            paths << notes << rows;
        }
        // A folder the user keeps: its last change lies well back, not the instant of its writing.
        setChangedAt(time(nullptr) - 3600);
    }
    // Sets the folder's modification time, as its last change of entries would.
    void setChangedAt(time_t when) const
    {
        const timespec times[2] = {{when, 0}, {when, 0}};
        if (utimensat(AT_FDCWD, QFile::encodeName(dir.path()).constData(), times, 0) != 0)
            std::abort();
    }
    QTemporaryDir dir;
    QStringList paths;
};

const Folder &folder()
{
    static const Folder built;
    return built;
}

QString path()
{
    return folder().dir.path();
}

const Folder &thirtyYears()
{
    static const Folder built(kThirtyYears);
    return built;
}

// ---- The search

void search(benchmark::State &state, const QString &query, qsizetype expected)
{
    NotesSearch search;
    qsizetype hits = 0;
    QObject::connect(&search, &NotesSearch::hitsFound,
                     [&hits](const QList<SearchHit> &found) { hits += found.size(); });
    QEventLoop loop;
    QObject::connect(&search, &NotesSearch::finished, &loop, &QEventLoop::quit);
    for (auto _ : state) {
        hits = 0;
        if (!search.start(path(), kExtension, query, kToday))
            std::abort();
        loop.exec();
    }
    if (hits != expected)
        state.SkipWithError("the search did not find what the folder holds");
}

void BM_SearchRare(benchmark::State &state)
{
    search(state, kRareQuery, (kDays + kRareEvery - 1) / kRareEvery);
}
BENCHMARK(BM_SearchRare)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SearchOften(benchmark::State &state)
{
    search(state, kOftenQuery, qsizetype(kDays) * kOftenPerDay);
}
BENCHMARK(BM_SearchOften)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: every file of the folder opened and read whole with QFile, by paths known
// beforehand, on the benchmark's thread.
void BM_SearchReadFloor(benchmark::State &state)
{
    const QStringList &paths = folder().paths;
    for (auto _ : state) {
        for (const QString &file : paths) {
            QFile in(file);
            if (!in.open(QIODevice::ReadOnly))
                std::abort();
            benchmark::DoNotOptimize(in.readAll());
        }
    }
}
BENCHMARK(BM_SearchReadFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

// The search's first step alone: the folder's day files, dated and sorted.
void BM_ListDayFiles(benchmark::State &state)
{
    for (auto _ : state) {
        const QList<DayFileEntry> entries = ListDayFiles(path(), kExtension, kToday);
        if (entries.size() != 2 * kDays)
            std::abort();
    }
}
BENCHMARK(BM_ListDayFiles)->Unit(benchmark::kMillisecond);

// ---- Typing while a search runs

qint64 threadCpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void postKey(QWidget *widget, Qt::Key key, const QString &text)
{
    QCoreApplication::postEvent(widget, new QKeyEvent(QEvent::KeyPress, key, {}, text));
    QCoreApplication::postEvent(widget, new QKeyEvent(QEvent::KeyRelease, key, {}, text));
}

// Ten keystrokes, each taking a letter off the query or putting it back, posted as the window
// system posts them; the window's thread handles each and whatever hits came meanwhile, and
// repaints. Before each, untimed, the search the last one started has delivered hits.
// The time of one keystroke is reported.
template<typename Prepare, typename Ready>
void typeTenKeys(benchmark::State &state, QWidget *window, QLineEdit *field, Prepare prepare,
                 Ready ready)
{
    constexpr int kKeys = 10;
    for (auto _ : state) {
        qint64 busy = 0;
        for (int key = 0; key < kKeys; ++key) {
            prepare();
            QDeadlineTimer deadline(10000);
            while (!ready() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
            QElapsedTimer timer;
            timer.start();
            if (key % 2 == 0)
                postKey(field, Qt::Key_Backspace, {});
            else
                postKey(field, Qt::Key_N, QStringLiteral("n"));
            QCoreApplication::processEvents();
            window->repaint();
            busy += timer.nsecsElapsed();
        }
        state.SetIterationTime(double(busy) / kKeys / 1e9);
    }
}

// The search window on screen, searching the benchmark's folder.
void showOnTheFolder(SearchWindow &window)
{
    window.setFolder(path(), kExtension);
    window.setToday(kToday);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::abort();
}

void BM_SearchWindowKeystroke(benchmark::State &state)
{
    SearchWindow window;
    showOnTheFolder(window);
    bool hitsArrived = false;
    QObject::connect(window.results()->model(), &QAbstractItemModel::rowsInserted,
                     [&hitsArrived] { hitsArrived = true; });
    window.field()->setText(kOftenQuery);
    typeTenKeys(
        state, &window, window.field(), [&hitsArrived] { hitsArrived = false; },
        [&hitsArrived] { return hitsArrived; });
    if (window.field()->text() != kOftenQuery)
        state.SkipWithError("the keys did not reach the field");
}
// Each keystroke waits (untimed) for the hits of the search it replaces: few iterations.
BENCHMARK(BM_SearchWindowKeystroke)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(30);

// The floor: the same keys in a plain QLineEdit.
void BM_LineEditKeystroke(benchmark::State &state)
{
    QLineEdit field;
    field.show();
    if (!QTest::qWaitForWindowExposed(&field))
        std::abort();
    field.setText(kOftenQuery);
    typeTenKeys(
        state, &field, &field, [] {}, [] { return true; });
}
BENCHMARK(BM_LineEditKeystroke)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(30);

// A whole search through the window, typed at once: what the window's thread spends (its CPU
// time) taking the 21 900 hits into the list and showing them.
void BM_SearchWindowWholeSearch(benchmark::State &state)
{
    SearchWindow window;
    showOnTheFolder(window);
    const QAbstractItemModel *model = window.results()->model();
    const int expected = kDays * kOftenPerDay;
    QEventLoop loop;
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &loop, [&] {
        if (model->rowCount() == expected)
            loop.quit();
    });
    for (auto _ : state) {
        window.field()->clear();
        const qint64 start = threadCpuNanoseconds();
        window.field()->setText(kOftenQuery);
        loop.exec();
        window.repaint();
        state.SetIterationTime(double(threadCpuNanoseconds() - start) / 1e9);
    }
}
BENCHMARK(BM_SearchWindowWholeSearch)->Unit(benchmark::kMillisecond)->UseManualTime();

// The key typed to the first result row in the list, on the window's thread: the first hit lies
// in the newest day. The window has listed the folder while the field was empty; with
// "just changed", a day file was made meanwhile, and the search lists the folder again.
void BM_SearchWindowFirstHit(benchmark::State &state)
{
    SearchWindow window;
    showOnTheFolder(window);
    const Folder &searched = state.range(0) == kThirtyYears ? thirtyYears() : folder();
    if (state.range(0) == kThirtyYears)
        window.setFolder(searched.dir.path(), kExtension);
    const bool justChanged = state.range(1) != 0;
    const QString made = searched.dir.filePath(QStringLiteral("made.tmp"));
    QElapsedTimer sinceKey;
    qint64 firstRow = -1;
    QObject::connect(window.results()->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (firstRow < 0)
            firstRow = sinceKey.nsecsElapsed();
    });
    for (auto _ : state) {
        window.field()->clear();
        QTest::qWait(50); // the listing for the search to come
        if (justChanged) {
            writePlain(made, "x");
            QFile::remove(made);
        }
        firstRow = -1;
        sinceKey.start();
        window.field()->setText(kOftenQuery);
        const QDeadlineTimer giveUp(10000);
        while (firstRow < 0 && !giveUp.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (firstRow < 0) {
            state.SkipWithError("no hit");
            break;
        }
        state.SetIterationTime(double(firstRow) / 1e9);
    }
    // The benchmarks after this one find the folder as the user keeps it.
    searched.setChangedAt(time(nullptr) - 3600);
}
BENCHMARK(BM_SearchWindowFirstHit)
    ->ArgsProduct({{kDays, kThirtyYears}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);

// ---- The export from the main window

// A field of /proc/self/status in KiB: VmRSS, RssAnon (the heap, stacks) or RssFile (the
// program's and its libraries' pages).
qint64 residentKib(QByteArrayView field = "VmRSS")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field) && line.size() > field.size() && line[field.size()] == ':')
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// The longest gap between the ticks of a 1 ms timer on the window's thread while it runs until
// done() says so: how long the window could not answer.
template<typename Done> qint64 longestStallNs(Done done)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return longest;
}

// Ctrl+E's export of the folder (7300 days) to .ics, from the main window shown on it: the
// longest stall of the window's thread from the command to its end, and the resident memory
// once it is over against before the first export of the process.
void BM_WindowExportStall(benchmark::State &state)
{
    // The window's page is today's, which the folder has not: the files its visit makes go
    // with it, so that the benchmarks after this one find the folder as it was.
    const QString stem = DayFileStem(QDate::currentDate());
    const std::array<QString, 2> visited{
        DayFilePath(path(), stem, DayFileKind::Notes, kExtension),
        DayFilePath(path(), stem, DayFileKind::TimeFields, kExtension)};
    if (QFile::exists(visited[0]) || QFile::exists(visited[1]))
        std::abort();
    const auto removeVisited = qScopeGuard([&visited] {
        for (const QString &file : visited)
            QFile::remove(file);
    });
    const QString before = QDir::currentPath();
    QDir::setCurrent(path());
    TForm1 form;
    QDir::setCurrent(before);
    form.CP()->setDestroyDelay(365); // the purge at the first paint leaves the folder alone
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        std::abort();
    QTemporaryDir out;
    // The purge the first paint started lists the whole folder: its memory is not the export's.
    while (form.CP()->notesPurge()->isRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    static const qint64 firstBefore = residentKib();
    static const qint64 anonBefore = residentKib("RssAnon");
    static const qint64 fileBefore = residentKib("RssFile");
    bool finished = false;
    bool written = false;
    QObject::connect(&form, &TForm1::exportFinished, [&](bool ok) {
        finished = true;
        written = ok;
    });
    qint64 lastBefore = 0;
    for (auto _ : state) {
        finished = false;
        lastBefore = residentKib();
        if (!form.exportNotes(out.filePath(QStringLiteral("notes.ics"))))
            std::abort();
        state.SetIterationTime(double(longestStallNs([&] { return finished; })) / 1e9);
    }
    if (!written)
        state.SkipWithError("the export failed");
    // Since before the first export (which also loads the calendar module), and across the last.
    state.counters["rss_growth_kib"] = double(residentKib() - firstBefore);
    state.counters["rss_last_export_kib"] = double(residentKib() - lastBefore);
    state.counters["rss_anon_growth_kib"] = double(residentKib("RssAnon") - anonBefore);
    state.counters["rss_file_growth_kib"] = double(residentKib("RssFile") - fileBefore);
}
BENCHMARK(BM_WindowExportStall)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// The floor: the same timer on an idle window's thread for as long.
void BM_IdleStallFloor(benchmark::State &state)
{
    for (auto _ : state) {
        QElapsedTimer spent;
        spent.start();
        state.SetIterationTime(double(longestStallNs([&] { return spent.hasExpired(200); })) / 1e9);
    }
}
BENCHMARK(BM_IdleStallFloor)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// ---- The marked days of a month

void BM_DaysWithText(benchmark::State &state)
{
    for (auto _ : state) {
        const std::bitset<32> days = DaysWithText(path(), kExtension, 2016, 6);
        if (days.count() != 30)
            std::abort();
    }
}
BENCHMARK(BM_DaysWithText)->Unit(benchmark::kMicrosecond);

// The floor: the folder's names alone, read with readdir and looked at no further.
void BM_ListNamesFloor(benchmark::State &state)
{
    const QByteArray folderName = QFile::encodeName(path());
    for (auto _ : state) {
        DIR *dir = opendir(folderName.constData());
        if (!dir)
            std::abort();
        int names = 0;
        while (const dirent *entry = readdir(dir))
            names += entry->d_name[0] != '.';
        closedir(dir);
        if (names != 2 * kDays)
            std::abort();
    }
}
BENCHMARK(BM_ListNamesFloor)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setCursorFlashTime(0); // no caret timer between iterations

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    folder(); // written before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
