// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dayfilefolder.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

#include <optional>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace ruvo {

namespace {

constexpr int kStemLength = 6;

int twoDigits(QStringView text, qsizetype at)
{
    const char16_t a = text[at].unicode();
    const char16_t b = text[at + 1].unicode();
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return -1;
    return (a - u'0') * 10 + (b - u'0');
}

// The kind of a file named "<stem><N|T>.<extension>" (the name's bytes), or none.
std::optional<DayFileKind> kindOfName(QByteArrayView name, QByteArrayView extension)
{
    if (name.size() != kStemLength + 2 + extension.size() || name[kStemLength + 1] != '.' ||
        name.sliced(kStemLength + 2) != extension)
        return std::nullopt;
    const char kind = name[kStemLength];
    if (kind == char(DayFileKind::Notes))
        return DayFileKind::Notes;
    if (kind == char(DayFileKind::TimeFields))
        return DayFileKind::TimeFields;
    return std::nullopt;
}

// Whether a folder's entry is a plain file, or a link to one, as QDir::Files counts them. The
// listing tells the type of most entries; the others are looked up.
bool isPlainFile(int folder, const dirent &entry)
{
    if (entry.d_type == DT_REG)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat status = {};
    return fstatat(folder, entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

// Calls take(stem, kind) for each day file name of a plain file in folder, in the order of the
// folder. A folder of twenty years holds some 15 000 names: read with the C library, a name
// costs no more than its bytes, where QDirIterator makes a QFileInfo of each.
template<typename Take>
void forEachDayFile(const QString &folder, const QString &extension, Take take)
{
    const QByteArray encodedExtension = QFile::encodeName(extension);
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return;
    const auto closeDir = qScopeGuard([dir] { closedir(dir); });
    while (const dirent *entry = readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        const std::optional<DayFileKind> kind = kindOfName(name, encodedExtension);
        if (!kind || !isPlainFile(dirfd(dir), *entry))
            continue;
        std::array<char16_t, kStemLength> stem{};
        std::copy_n(name.begin(), kStemLength, stem.begin());
        take(QStringView(stem.data(), kStemLength), *kind);
    }
}

} // namespace

QDate DateOfStem(QStringView stem, const QDate &nearDay)
{
    if (stem.size() != kStemLength)
        return {};
    const int day = twoDigits(stem, 0);
    const int month = twoDigits(stem, 2);
    const int yearInCentury = twoDigits(stem, 4);
    if (day < 1 || month < 1 || yearInCentury < 0)
        return {};
    QDate nearest;
    qint64 distance = 0;
    const int century = nearDay.year() / 100;
    for (const int c : {century - 1, century, century + 1}) {
        const QDate date(c * 100 + yearInCentury, month, day);
        if (!date.isValid())
            continue;
        const qint64 d = std::abs(date.daysTo(nearDay));
        if (!nearest.isValid() || d < distance) {
            nearest = date;
            distance = d;
        }
    }
    return nearest;
}

// A name as listed, its path made only when it is handed over.
struct DayFileListing::Listed
{
    qint64 day;
    DayFileKind kind;
    std::array<char16_t, kStemLength> stem;
};

namespace {

using Listed = DayFileListing::Listed;
using FolderState = DayFileListing::FolderState;

std::vector<Listed> listedNames(const QString &folder, const QString &extension,
                                const QDate &nearDay)
{
    std::vector<Listed> listed;
    forEachDayFile(folder, extension, [&](QStringView stem, DayFileKind kind) {
        const QDate date = DateOfStem(stem, nearDay);
        if (!date.isValid())
            return;
        Listed name{date.toJulianDay(), kind, {}};
        std::copy_n(stem.utf16(), kStemLength, name.stem.begin());
        listed.push_back(name);
    });
    return listed;
}

DayFileEntry entryOf(const QString &folder, const QString &extension, const Listed &name)
{
    const QString stem(reinterpret_cast<const QChar *>(name.stem.data()), kStemLength);
    return {QDate::fromJulianDay(name.day), name.kind,
            DayFilePath(folder, stem, name.kind, extension)};
}

// "Comes after" in the order handed over: an older day, or the hour rows after the notes of the
// same day.
bool comesAfter(const Listed &a, const Listed &b)
{
    return a.day != b.day ? a.day < b.day : a.kind > b.kind;
}

// Hands the names to take, newest first, until it returns false. A heap: the newest is on top at
// once, each next one costs a step. With sortRest, listed is left in order, oldest first,
// however far take went.
void takeNewestFirst(std::vector<Listed> &listed, const QString &folder, const QString &extension,
                     const std::function<bool(const DayFileEntry &)> &take, bool sortRest)
{
    std::make_heap(listed.begin(), listed.end(), comesAfter);
    for (auto end = listed.end(); end != listed.begin(); --end) {
        std::pop_heap(listed.begin(), end, comesAfter);
        if (!take(entryOf(folder, extension, *(end - 1)))) {
            // What was handed over lies behind the heap, in order: the heap's rest goes before it.
            if (sortRest)
                std::sort_heap(listed.begin(), end - 1, comesAfter);
            return;
        }
    }
}

std::optional<FolderState> folderState(const QString &folder)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(folder).constData(), &status) != 0)
        return std::nullopt;
    return FolderState{quint64(status.st_dev), quint64(status.st_ino),
                       qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec)};
}

// Whether any change to the folder from now on is sure to give it another modification time:
// its last one lies more than two seconds back (the coarsest stamps, FAT's, count in twos).
bool settled(const FolderState &state)
{
    timespec now = {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) - state.seconds > 2;
}

} // namespace

void ForEachDayFileNewestFirst(const QString &folder, const QString &extension,
                               const QDate &nearDay,
                               const std::function<bool(const DayFileEntry &)> &take)
{
    std::vector<Listed> listed = listedNames(folder, extension, nearDay);
    takeNewestFirst(listed, folder, extension, take, false);
}

DayFileListing::DayFileListing() = default;
DayFileListing::~DayFileListing() = default;

void DayFileListing::forEachNewestFirst(const QString &folder, const QString &extension,
                                        const QDate &nearDay,
                                        const std::function<bool(const DayFileEntry &)> &take)
{
    const std::optional<FolderState> state = folderState(folder);
    if (m_kept && state && *state == m_listedAt && folder == m_folder && extension == m_extension &&
        nearDay == m_nearDay) {
        for (auto name = m_oldestFirst.crbegin(); name != m_oldestFirst.crend(); ++name) {
            if (!take(entryOf(folder, extension, *name)))
                return;
        }
        return;
    }
    clear();
    std::vector<Listed> listed = listedNames(folder, extension, nearDay);
    takeNewestFirst(listed, folder, extension, take, true);
    // The state is the one from before the listing: a change since has moved it.
    if (state && settled(*state)) {
        m_folder = folder;
        m_extension = extension;
        m_nearDay = nearDay;
        m_listedAt = *state;
        m_oldestFirst = std::move(listed);
        m_kept = true;
    }
}

void DayFileListing::clear()
{
    m_kept = false;
    m_oldestFirst = {};
}

QList<DayFileEntry> ListDayFiles(const QString &folder, const QString &extension,
                                 const QDate &nearDay)
{
    QList<DayFileEntry> entries;
    ForEachDayFileNewestFirst(folder, extension, nearDay, [&entries](const DayFileEntry &entry) {
        entries.append(entry);
        return true;
    });
    return entries;
}

std::bitset<32> DaysWithText(const QString &folder, const QString &extension, int year, int month)
{
    std::bitset<32> days;
    if (month < 1 || month > 12)
        return days;
    const QString monthAndYear = QStringLiteral("%1%2")
                                     .arg(month, 2, 10, QChar(u'0'))
                                     .arg(((year % 100) + 100) % 100, 2, 10, QChar(u'0'));
    // A month has at most 62 file names: looking each up is far quicker than listing a folder
    // of years of days.
    for (int day = 1; day <= 31; ++day) {
        const QString stem = QStringLiteral("%1").arg(day, 2, 10, QChar(u'0')) + monthAndYear;
        for (const DayFileKind kind : {DayFileKind::Notes, DayFileKind::TimeFields}) {
            const QFileInfo file(DayFilePath(folder, stem, kind, extension));
            if (file.isFile() && DayFileHasText(kind, file.size())) {
                days.set(std::size_t(day));
                break;
            }
        }
    }
    return days;
}

} // namespace ruvo
