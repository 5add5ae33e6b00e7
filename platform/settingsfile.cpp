#include "settingsfile.h"

#include "calendar/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <limits>

// The file is handled as bytes: section names such as "Propriétés" are written as UTF-8 as
// they are, and bytes in other encodings pass through untouched.
#define SI_NO_CONVERSION
// The template's code is compiled here, the only place that uses it, rather than taken from
// the shared library (see platform/CMakeLists.txt).
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace ruvo {

namespace {

// Settings files are a few lines long. Reading at start-up gives up on a larger one, which
// cannot be ours; a write still keeps it whole.
constexpr qint64 kMaxReadSize = 1 << 20;

// Loads the file; false when it is missing or unreadable. bytes receives what it holds.
bool load(const QString &path, CSimpleIniA &ini, qint64 maxSize, QByteArray *bytes = nullptr)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > maxSize)
        return false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    if (bytes)
        *bytes = data;
    return ini.LoadData(data.constData(), size_t(data.size())) >= 0;
}

// The lines of a settings file that carry settings, and those the parser cannot read.
struct LineCounts
{
    qsizetype settings = 0;
    qsizetype unreadable = 0;
};

LineCounts countLines(QByteArrayView text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3); // the parser passes over a byte-order mark as well
    LineCounts counts;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        const QByteArrayView line = text.sliced(start, end - start).trimmed();
        start = end + 1;
        if (line.isEmpty() || line[0] == ';' || line[0] == '#')
            continue; // blank or a comment
        if (line[0] == '[') {
            counts.unreadable += !line.contains(']');
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && !line.first(equals).trimmed().isEmpty())
            ++counts.settings;
        else
            ++counts.unreadable;
    }
    return counts;
}

// Whether writing the file back from what the parser understood keeps every setting in it.
// The parser passes over what it cannot read (a line without "=", anything after a NUL byte,
// binary data) and keeps one of two equal keys: all that would be gone from the file.
bool parserKeepsEverything(const QByteArray &bytes, const CSimpleIniA &ini)
{
    const LineCounts before = countLines(bytes);
    std::string again;
    return !bytes.contains('\0') && before.unreadable == 0 && ini.Save(again) >= 0 &&
           countLines(QByteArrayView(again.data(), qsizetype(again.size()))).settings ==
               before.settings;
}

} // namespace

QString SettingsFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Ruvo.ini");
}

QString SettingsFile::readString(const QString &section, const QString &key,
                                 const QString &fallback) const
{
    CSimpleIniA ini;
    ini.SetUnicode(false);
    if (!load(m_path, ini, kMaxReadSize))
        return fallback;
    const char *value =
        ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    return value ? QString::fromUtf8(value) : fallback;
}

std::optional<qint32> SettingsFile::parseInteger(const QString &text)
{
    bool ok = false;
    qint64 value = 0;
    if (text.startsWith(u"0x", Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    // toLongLong would let a blank or a second sign through after the prefix.
    if (!ok || (text.size() > 2 && text.startsWith(u"0x", Qt::CaseInsensitive) &&
                !QChar(text.at(2)).isLetterOrNumber()))
        return std::nullopt;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

bool SettingsFile::readBool(const QString &section, const QString &key, bool fallback) const
{
    const std::optional<qint32> number = parseInteger(readString(section, key, QString()));
    return number ? *number != 0 : fallback;
}

void SettingsFile::writeString(const QString &section, const QString &key,
                               const QString &value) const
{
    const auto fail = [this] {
        throw Error(u"Ne peut écrire dans " + m_path);
    };
    CSimpleIniA ini;
    ini.SetUnicode(false);
    ini.SetSpaces(false);
    // Never replace a file we could not read whole: its other content would be lost.
    QByteArray bytes;
    if (QFileInfo::exists(m_path) &&
        (!load(m_path, ini, std::numeric_limits<qint64>::max(), &bytes) ||
         !parserKeepsEverything(bytes, ini)))
        fail();
    if (ini.SetValue(section.toUtf8().constData(), key.toUtf8().constData(),
                     value.toUtf8().constData()) < 0)
        fail();
    std::string data;
    if (ini.Save(data) < 0)
        fail();
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(data.data(), qint64(data.size())) != qint64(data.size()) || !file.commit())
        fail();
}

void SettingsFile::writeBool(const QString &section, const QString &key, bool value) const
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace ruvo
