#include "dayfilefolder.h"

#include <QDirIterator>
#include <QFileInfo>

#include <optional>

#include <algorithm>
#include <cstdlib>

namespace ruvo {

namespace {

constexpr int kStemLength = 6;
// An empty hour file: 17 empty lines, each ended by CR LF.
constexpr qint64 kEmptyTimeFieldsSize = 2 * 17;

int twoDigits(QStringView text, qsizetype at)
{
    const char16_t a = text[at].unicode();
    const char16_t b = text[at + 1].unicode();
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return -1;
    return (a - u'0') * 10 + (b - u'0');
}

// The kind of a file named "<stem><N|T>.<extension>", or none.
std::optional<DayFileKind> kindOfName(QStringView name, QStringView extension)
{
    if (name.size() != kStemLength + 2 + extension.size() || name[kStemLength + 1] != u'.' ||
        name.sliced(kStemLength + 2) != extension)
        return std::nullopt;
    const QChar kind = name[kStemLength];
    if (kind == QChar(char16_t(DayFileKind::Notes)))
        return DayFileKind::Notes;
    if (kind == QChar(char16_t(DayFileKind::TimeFields)))
        return DayFileKind::TimeFields;
    return std::nullopt;
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

QList<DayFileEntry> ListDayFiles(const QString &folder, const QString &extension,
                                 const QDate &nearDay)
{
    QList<DayFileEntry> entries;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString name = info.fileName();
        const std::optional<DayFileKind> kind = kindOfName(name, extension);
        if (!kind)
            continue;
        const QDate date = DateOfStem(QStringView(name).first(kStemLength), nearDay);
        if (date.isValid())
            entries.append({date, *kind, info.filePath()});
    }
    std::sort(entries.begin(), entries.end(), [](const DayFileEntry &a, const DayFileEntry &b) {
        return a.date != b.date ? a.date > b.date : a.kind < b.kind;
    });
    return entries;
}

bool DayFileHasText(DayFileKind kind, qint64 size)
{
    return size > (kind == DayFileKind::Notes ? 0 : kEmptyTimeFieldsSize);
}

std::bitset<32> DaysWithText(const QString &folder, const QString &extension, int year, int month)
{
    std::bitset<32> days;
    if (month < 1 || month > 12)
        return days;
    const int yearInCentury = ((year % 100) + 100) % 100;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        // The name alone decides which files are the month's; only those are looked at.
        it.next();
        const QString name = it.fileName();
        const std::optional<DayFileKind> kind = kindOfName(name, extension);
        if (!kind || twoDigits(name, 2) != month || twoDigits(name, 4) != yearInCentury)
            continue;
        const int day = twoDigits(name, 0);
        if (day >= 1 && day <= 31 && !days.test(std::size_t(day)) &&
            DayFileHasText(*kind, it.fileInfo().size()))
            days.set(std::size_t(day));
    }
    return days;
}

} // namespace ruvo
