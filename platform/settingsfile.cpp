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
#include <SimpleIni.h>

namespace ruvo {

namespace {

// Settings files are a few lines long. Reading at start-up gives up on a larger one, which
// cannot be ours; a write still keeps it whole.
constexpr qint64 kMaxReadSize = 1 << 20;

// Loads the file; false when it is missing or unreadable.
bool load(const QString &path, CSimpleIniA &ini, qint64 maxSize)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > maxSize)
        return false;
    const QByteArray bytes = file.readAll();
    return ini.LoadData(bytes.constData(), size_t(bytes.size())) >= 0;
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
    if (QFileInfo::exists(m_path) && !load(m_path, ini, std::numeric_limits<qint64>::max()))
        fail(); // never replace a file we could not read: its other content would be lost
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
