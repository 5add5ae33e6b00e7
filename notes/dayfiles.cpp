#include "dayfiles.h"

#include "calendar/datetext.h"
#include "calendar/error.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace ruvo {

namespace {

constexpr auto kSingleByteCodePage = "windows-1252";

// A full page (32000 characters, each wrapped row a line of its own) stays under 160 KiB even
// in UTF-8. A larger file is no page the program wrote: it is refused unread, so turning to
// its day stays quick.
constexpr qint64 kMaxDayFileSize = 256 * 1024;

// A BOM at the start is kept as a character: the text must come back exactly as it was.
constexpr auto kKeepBom =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

bool decodeUtf8(QByteArrayView bytes, QString &text)
{
    QStringDecoder decoder(QStringConverter::Utf8, kKeepBom);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

// Each byte of the code page is one UTF-16 unit. Its 256 units, decoded once by the system's
// converter, decode a file without opening a converter for it: the search reads thousands.
// Empty when the converter gives anything else.
const QString &singleByteUnits()
{
    static const QString units = [] {
        QByteArray every(256, Qt::Uninitialized);
        for (int byte = 0; byte < 256; ++byte)
            every[byte] = char(byte);
        QStringDecoder decoder(kSingleByteCodePage, kKeepBom);
        const QString decoded = decoder.decode(every);
        return decoded.size() == 256 && !decoder.hasError() ? decoded : QString();
    }();
    return units;
}

QString decodeSingleByte(QByteArrayView bytes)
{
    const QString &units = singleByteUnits();
    if (units.isEmpty()) {
        QStringDecoder decoder(kSingleByteCodePage, kKeepBom);
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [&units](char byte) { return units[uchar(byte)]; });
    return text;
}

bool hasHighByte(const QByteArray &bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) > 127; });
}

} // namespace

QString NoteFileName(const QString &dateText)
{
    const QString year = DatePart(dateText, 2);
    return DatePart(dateText, 0) + DatePart(dateText, 1) + year.mid(2, 2);
}

QString DayFilePath(const QString &directory, const QString &stem, DayFileKind kind,
                    const QString &extension)
{
    return directory + u'/' + stem + QChar(char16_t(kind)) + u'.' + extension;
}

QString DecodeDayText(const QByteArray &bytes)
{
    QString text;
    if (decodeUtf8(bytes, text))
        return text;
    return decodeSingleByte(bytes);
}

QByteArray EncodeDayText(const QString &text)
{
    QStringEncoder encoder(kSingleByteCodePage, kKeepBom);
    const QByteArray singleByte = encoder.encode(text);
    QString check;
    const bool holdsEveryCharacter = !encoder.hasError() && decodeSingleByte(singleByte) == text;
    const bool readsAsUtf8 = hasHighByte(singleByte) && decodeUtf8(singleByte, check);
    if (holdsEveryCharacter && !readsAsUtf8)
        return singleByte;
    return text.toUtf8();
}

QList<QStringView> DayLineViews(QStringView text)
{
    QList<QStringView> lines;
    const qsizetype end = [&] {
        const qsizetype nul = text.indexOf(QChar(u'\0'));
        return nul < 0 ? text.size() : nul;
    }();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << text.sliced(start, i - start);
            if (c == u'\r' && i + 1 < end && text.at(i + 1) == u'\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < end)
        lines << text.sliced(start, end - start);
    return lines;
}

QStringList SplitDayLines(const QString &text)
{
    QStringList lines;
    for (const QStringView line : DayLineViews(text))
        lines << line.toString();
    return lines;
}

QByteArray DayFileBytes(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + u"\r\n";
    return EncodeDayText(text);
}

std::optional<QByteArray> ReadDayFileBytes(const QString &path)
{
    QByteArray bytes;
    switch (ReadFileWhole(path, kMaxDayFileSize, bytes)) {
    case WholeFileRead::Read:
        return bytes;
    case WholeFileRead::NoPlainFile:
        return std::nullopt;
    case WholeFileRead::Failed:
        break;
    }
    throw Error(u"Ne peut ouvrir le fichier " + path);
}

QString DayFileText(const QByteArray &bytes)
{
    // The text ends at a NUL byte; cut before decoding, so nothing past it decides the encoding.
    const qsizetype nul = bytes.indexOf('\0');
    return DecodeDayText(nul < 0 ? bytes : bytes.first(nul));
}

QStringList DayFileLines(const QByteArray &bytes)
{
    return SplitDayLines(DayFileText(bytes));
}

QStringList ReadDayFile(const QString &path)
{
    const std::optional<QByteArray> bytes = ReadDayFileBytes(path);
    if (!bytes)
        throw Error(u"Ne peut ouvrir le fichier " + path);
    return DayFileLines(*bytes);
}

namespace {

bool holdsExactly(const QString &path, const QByteArray &bytes)
{
    // Only a plain file is opened: opening a pipe of that name would wait for a writer.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != bytes.size())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

} // namespace

void WriteDayFileBytes(const QString &path, const QByteArray &bytes)
{
    WriteDayFilesBytes({{path, bytes}});
}

void WriteDayFilesBytes(const QList<FileReplacement> &files)
{
    // A file the reader would refuse is never written: its day could no longer be opened.
    for (const FileReplacement &file : files) {
        if (file.bytes.size() > kMaxDayFileSize)
            throw Error(u"Ne peut créer le fichier " + file.path);
    }
    qsizetype failed = 0;
    if (ReplaceFilesWhole(files, &failed) != files.size())
        throw Error(u"Ne peut créer le fichier " + files.at(failed).path);
}

void WriteDayFile(const QString &path, const QStringList &lines)
{
    const QByteArray bytes = DayFileBytes(lines);
    // Turning through pages without typing would otherwise replace and flush both files at
    // every turn; reading them back costs a fraction of that.
    if (!holdsExactly(path, bytes))
        WriteDayFileBytes(path, bytes);
}

QString KeepOutsideVersion(const QString &path, const QByteArray &bytes, const QDateTime &now)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot < 0 ? name : name.first(dot);
    const QString extension = dot < 0 ? QString() : name.sliced(dot);
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept;
    for (int n = 1;; ++n) {
        kept = info.dir().filePath(base + u"-autre-" + stamp +
                                   (n > 1 ? u'-' + QString::number(n) : QString()) + extension);
        if (!QFileInfo::exists(kept) && !QFileInfo(kept).isSymLink())
            break;
    }
    if (!ReplaceFileWhole(kept, bytes))
        throw Error(u"Ne peut créer le fichier " + kept);
    return kept;
}

namespace {

// Into the desktop's trash, from where any file manager can restore it; deleted only where
// no trash can take it. A folder of that name is no day file and stays.
void removeDayFile(const QString &path, bool trashReady)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return;
    if (!trashReady || !QFile::moveToTrash(path))
        QFile::remove(path);
}

// The trash lives in the user's data folder. Qt finds no trash when that folder is missing,
// and then moves the file into the current folder instead, so it is made first.
bool prepareTrash()
{
    return QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

} // namespace

void PurgeDayFiles(const QString &directory, const QString &extension, const QString &today,
                   int destroyDelay)
{
    // The folder is listed once and only the files present are deleted: most days of the
    // window have nothing left to delete, and 730 failing removals cost more than one listing.
    QSet<QString> present;
    // Every kind of entry, as a removal by name would meet it: a directory is not removed.
    QDirIterator entries(directory + u'/',
                         QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext())
        present.insert(entries.nextFileInfo().fileName());

    std::optional<bool> trashReady;
    QString day = SubtractDays(today, 365);
    const QString end = SubtractDays(today, destroyDelay);
    while (!DateOnOrAfter(day, end)) {
        const QString stem = NoteFileName(day);
        for (const DayFileKind kind : {DayFileKind::TimeFields, DayFileKind::Notes}) {
            const QString path = DayFilePath(directory, stem, kind, extension);
            const QString name = path.sliced(directory.size() + 1);
            // A name that reaches into a subfolder cannot be found by the listing.
            if (present.contains(name) || name.contains(u'/')) {
                if (!trashReady)
                    trashReady = prepareTrash();
                removeDayFile(path, *trashReady);
            }
        }
        day = AddDays(day, 1);
    }
}

} // namespace ruvo
