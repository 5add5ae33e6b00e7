// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editjournal.h"

#include "notes/daystore.h"

#include "platform/rescuefolder.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ruvo {

namespace {

// The first line of every journal; a journal of another version is not read.
constexpr QByteArrayView kMagic = "Ruvo journal 1\n";
// The journal is written whole again once it is this many times the page it began with, and at
// least this large: a rewrite costs a rename, so a short page is rewritten every few hundred
// keys rather than every few dozen, and the file stays bounded.
constexpr qint64 kGrowthFactor = 4;
constexpr qint64 kGrowthFloor = 1024 * 1024;
// Past this no journal is read: a page is far smaller (see kMaxDayFileSize).
constexpr qint64 kMaxJournalSize = 16 * 1024 * 1024;
constexpr QByteArrayView kDateFormat = "yyyyMMdd";

// A checksum of the bytes, eight at a time: a byte-wise CRC over the whole notes on every key
// would cost more than the write that carries them.
quint64 checksum(QByteArrayView bytes)
{
    constexpr quint64 kMultiplier = 0xff51afd7ed558ccdULL;
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    quint64 sum = 0x9e3779b97f4a7c15ULL ^ quint64(size);
    const auto mix = [&sum](quint64 word) {
        sum = (sum ^ word) * kMultiplier;
        sum ^= sum >> 29;
    };
    qsizetype at = 0;
    for (; at + 8 <= size; at += 8)
        mix(qFromLittleEndian<quint64>(data + at));
    quint64 tail = 0;
    for (qsizetype i = 0; at + i < size; ++i)
        tail |= quint64(quint8(data[at + i])) << (8 * i);
    mix(tail);
    mix(sum >> 32);
    return sum;
}

// A record: "<tag> <argument> <length>\n<payload>\n<checksum>\n", the checksum (hexadecimal)
// taken over all that comes before it.
QByteArray record(QByteArrayView tag, QByteArrayView argument, QByteArrayView payload)
{
    QByteArray bytes;
    bytes.reserve(tag.size() + argument.size() + payload.size() + 32);
    bytes.append(tag).append(' ').append(argument).append(' ');
    bytes.append(QByteArray::number(payload.size())).append('\n');
    bytes.append(payload).append('\n');
    bytes.append(QByteArray::number(checksum(bytes), 16)).append('\n');
    return bytes;
}

QByteArrayView kindArgument(std::size_t index)
{
    return kDayFileKinds[index] == DayFileKind::Notes ? "N" : "T";
}

QByteArray pageBytes(const JournaledPage &page)
{
    QByteArray bytes(kMagic.data(), kMagic.size());
    bytes += record("folder", "-", page.folder.toUtf8());
    bytes += record("extension", "-", page.extension.toUtf8());
    bytes += record("date", page.date.toString(QLatin1StringView(kDateFormat)).toLatin1(), {});
    for (std::size_t i = 0; i < page.base.size(); ++i)
        bytes += page.base[i] ? record("base", kindArgument(i), *page.base[i])
                              : record("nofile", kindArgument(i), {});
    if (page.notes)
        bytes += record("notes", "-", page.notes->toUtf8());
    for (std::size_t row = 0; row < page.hours.size(); ++row) {
        if (page.hours[row])
            bytes += record("hour", QByteArray::number(row), page.hours[row]->toUtf8());
    }
    return bytes;
}

struct Record
{
    QByteArray tag;
    QByteArray argument;
    QByteArray payload;
};

// The records of a journal's bytes after its first line; none at all when any is cut or
// garbled.
std::optional<QList<Record>> records(const QByteArray &bytes)
{
    QList<Record> read;
    qsizetype at = kMagic.size();
    while (at < bytes.size()) {
        const qsizetype headEnd = bytes.indexOf('\n', at);
        if (headEnd < 0)
            return std::nullopt;
        const QList<QByteArray> head = bytes.sliced(at, headEnd - at).split(' ');
        bool counted = false;
        const qsizetype length = head.size() == 3 ? head[2].toLongLong(&counted) : -1;
        if (!counted || length < 0 || length >= bytes.size() - headEnd - 1)
            return std::nullopt;
        const qsizetype payloadEnd = headEnd + 1 + length;
        if (bytes[payloadEnd] != '\n')
            return std::nullopt;
        const qsizetype sumEnd = bytes.indexOf('\n', payloadEnd + 1);
        if (sumEnd < 0)
            return std::nullopt;
        bool isNumber = false;
        const quint64 sum =
            bytes.sliced(payloadEnd + 1, sumEnd - payloadEnd - 1).toULongLong(&isNumber, 16);
        if (!isNumber || sum != checksum(QByteArrayView(bytes).sliced(at, payloadEnd + 1 - at)))
            return std::nullopt;
        read.append({head[0], head[1], bytes.sliced(headEnd + 1, length)});
        at = sumEnd + 1;
    }
    return read;
}

// The page of a journal's records: the folder, the extension, the date and both bases first,
// in that order, then the editors' texts, the latest of each counting.
std::optional<JournaledPage> pageOf(const QList<Record> &read)
{
    constexpr qsizetype kHeadRecords = 5;
    if (read.size() < kHeadRecords || read[0].tag != "folder" || read[1].tag != "extension" ||
        read[2].tag != "date" || !read[2].payload.isEmpty())
        return std::nullopt;
    JournaledPage page;
    page.folder = QString::fromUtf8(read[0].payload);
    page.extension = QString::fromUtf8(read[1].payload);
    page.date =
        QDate::fromString(QString::fromLatin1(read[2].argument), QLatin1StringView(kDateFormat));
    if (!page.date.isValid())
        return std::nullopt;
    for (std::size_t i = 0; i < page.base.size(); ++i) {
        const Record &base = read[qsizetype(3 + i)];
        if (base.argument != kindArgument(i))
            return std::nullopt;
        if (base.tag == "base")
            page.base[i] = base.payload;
        else if (base.tag != "nofile" || !base.payload.isEmpty())
            return std::nullopt;
    }
    for (qsizetype i = kHeadRecords; i < read.size(); ++i) {
        const Record &edit = read[i];
        bool isRow = false;
        const int row = edit.argument.toInt(&isRow);
        if (edit.tag == "notes" && edit.argument == "-")
            page.notes = QString::fromUtf8(edit.payload);
        else if (edit.tag == "hour" && isRow && row >= 0 && row < kHourRows)
            page.hours[std::size_t(row)] = QString::fromUtf8(edit.payload);
        else
            return std::nullopt;
    }
    return page;
}

} // namespace

bool JournaledPage::typedOn() const
{
    return notes || std::any_of(hours.begin(), hours.end(),
                                [](const std::optional<QString> &row) { return bool(row); });
}

EditJournal::~EditJournal()
{
    close();
}

QString EditJournal::stateFolder()
{
    return RescueFolder() + QStringLiteral("/journal");
}

QString EditJournal::folderOf(const DayStore &store)
{
    return QDir::cleanPath(QDir(store.folder()).absolutePath());
}

QString EditJournal::pathFor(const QString &folder, const DayStore &store)
{
    // Named after the notes folder, which may be anywhere and named anything: one file per
    // folder, whatever its name holds.
    const QByteArray notes = folderOf(store).toUtf8() + '\0' + store.extension().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(notes, QCryptographicHash::Sha1).toHex();
    return folder + QStringLiteral("/journal-") + QString::fromLatin1(hash.left(16));
}

void EditJournal::close()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

bool EditJournal::start(const JournaledPage &page)
{
    close();
    if (m_path.isEmpty() || !QDir().mkpath(QFileInfo(m_path).path()))
        return false;
    const QByteArray bytes = pageBytes(page);
    const QByteArray name = QFile::encodeName(m_path);
    const QByteArray newName = name + ".new";
    // Not synced: the journal is for the end of the program, which leaves the kernel's page
    // cache as it is; a sync per keystroke would cost more than the key.
    const int descriptor =
        ::open(newName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return false;
    if (!WriteAll(descriptor, bytes) || ::rename(newName.constData(), name.constData()) != 0) {
        ::close(descriptor);
        ::unlink(newName.constData());
        return false;
    }
    m_descriptor = descriptor;
    m_started = true;
    m_size = bytes.size();
    m_limit = std::max(kGrowthFactor * m_size, kGrowthFloor);
    return true;
}

bool EditJournal::append(const QByteArray &bytes)
{
    if (m_descriptor < 0)
        return false;
    if (WriteAll(m_descriptor, bytes)) {
        m_size += bytes.size();
        return true;
    }
    // A full disk took part of it: the journal is cut back to its last whole record, and
    // waits for a whole page again.
    if (::ftruncate(m_descriptor, m_size) == 0)
        ::lseek(m_descriptor, m_size, SEEK_SET);
    close();
    return false;
}

bool EditJournal::appendNotes(const QString &text)
{
    return append(record("notes", "-", text.toUtf8()));
}

bool EditJournal::appendHour(int row, const QString &text)
{
    return append(record("hour", QByteArray::number(row), text.toUtf8()));
}

void EditJournal::remove()
{
    close();
    if (m_started)
        ::unlink(QFile::encodeName(m_path).constData());
    m_started = false;
}

EditJournal::Contents EditJournal::read(const QString &path, JournaledPage &page)
{
    QFile file(path);
    if (!file.exists())
        return Contents::None;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxJournalSize)
        return Contents::Unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Contents::Unreadable;
    if (bytes.isEmpty())
        return Contents::None;
    if (!bytes.startsWith(kMagic))
        return Contents::Unreadable;
    const std::optional<QList<Record>> read = records(bytes);
    const std::optional<JournaledPage> journaled = read ? pageOf(*read) : std::nullopt;
    if (!journaled)
        return Contents::Unreadable;
    page = *journaled;
    return Contents::Page;
}

QString EditJournal::keepAside(const QString &path)
{
    const QString stem = path + u'-' + QDateTime::currentDateTime().toString(kFileTimeStamp);
    for (int number = 1; number <= 100; ++number) {
        const QString kept =
            stem + (number > 1 ? u'-' + QString::number(number) : QString()) + u".txt";
        if (QFile::exists(kept))
            continue;
        return QFile::rename(path, kept) ? kept : QString();
    }
    return {};
}

} // namespace ruvo
