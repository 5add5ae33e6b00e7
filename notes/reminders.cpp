// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "reminders.h"

#include "platform/rescuefolder.h"
#include "platform/runtimefolder.h"
#include "platform/settingsfile.h"
#include "platform/wholefile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ruvo {

namespace {

const QString kSection = QStringLiteral("Rappels");
const QString kLeadKey = QStringLiteral("avance");
constexpr QByteArrayView kLogHeader = "Ruvo reminders 1";
// A log holds a day's lines: anything larger is not one.
constexpr qint64 kLongestLog = 64 * 1024;

} // namespace

std::optional<int> ReminderLead(const QString &settingsPath)
{
    const std::optional<qint32> minutes = SettingsFile::parseInteger(
        SettingsFile(settingsPath).readString(kSection, kLeadKey, QString()));
    if (!minutes || *minutes < 0 || *minutes > kLongestReminderLead)
        return std::nullopt;
    return *minutes;
}

void SetReminderLead(const QString &settingsPath, std::optional<int> lead)
{
    const SettingsFile settings(settingsPath);
    if (lead)
        settings.writeString(kSection, kLeadKey, QString::number(*lead));
    else
        settings.removeKey(kSection, kLeadKey);
}

QString Reminder::hourText() const
{
    return QTime(hour, 0).toString(u"HH:mm");
}

QByteArray Reminder::key() const
{
    return QByteArray::number(hour) + ' ' +
           QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
}

QList<Reminder> RemindersOf(const QDate &date, const std::array<QString, kHourRows> &hours,
                            int startTime, int lead)
{
    QList<Reminder> reminders;
    for (int row = 0; row < kHourRows; ++row) {
        const int hour = startTime + row;
        const QString text = hours[std::size_t(row)].trimmed();
        if (hour > 23 || text.isEmpty())
            continue;
        const QDateTime at(date, QTime(hour, 0));
        reminders.append({date, hour, text, at.addSecs(-60 * qint64(lead))});
    }
    return reminders;
}

ReminderLog::ReminderLog(const QString &notesFolder)
{
    m_path = RescueFolder() + QStringLiteral("/reminders/shown-") + FolderKey(notesFolder);

    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLongestLog)
        return; // none yet, or not ours: nothing counts as shown
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 2 || lines[0] != kLogHeader)
        return;
    m_date = QDate::fromString(QString::fromLatin1(lines[1]), u"yyyyMMdd");
    for (qsizetype i = 2; i < lines.size(); ++i) {
        if (!lines[i].isEmpty())
            m_keys.insert(lines[i]);
    }
}

bool ReminderLog::contains(const Reminder &reminder) const
{
    return reminder.date == m_date && m_keys.contains(reminder.key());
}

bool ReminderLog::add(const QList<Reminder> &reminders)
{
    for (const Reminder &reminder : reminders) {
        if (reminder.date > m_date || !m_date.isValid()) {
            m_date = reminder.date;
            m_keys.clear();
        }
        if (reminder.date == m_date)
            m_keys.insert(reminder.key());
    }
    QByteArray bytes = kLogHeader.toByteArray() + '\n' + m_date.toString(u"yyyyMMdd").toLatin1();
    for (const QByteArray &key : std::as_const(m_keys))
        bytes += '\n' + key;
    bytes += '\n';
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    return ReplaceFileWhole(m_path, bytes);
}

} // namespace ruvo
