// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "autostartentry.h"

#include "runtimefolder.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace ruvo {

namespace {

// A string value of a desktop entry: one line, its escapes spelt out.
QString stringValue(const QString &text)
{
    QString value;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            value += u"\\\\";
            break;
        case u'\n':
            value += u"\\n";
            break;
        case u'\t':
            value += u"\\t";
            break;
        case u'\r':
            value += u"\\r";
            break;
        default:
            value += c;
        }
    }
    return value;
}

} // namespace

AutostartEntry::AutostartEntry(const QString &notesFolder)
    : m_path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
             QStringLiteral("/autostart/org.example.Ruvo.reminders-") + FolderKey(notesFolder) +
             QStringLiteral(".desktop"))
{}

QString AutostartEntry::execLine(const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &argument : arguments) {
        QString inner;
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                inner += u'\\';
            // A field code would be replaced by the desktop.
            inner += c == u'%' ? QStringLiteral("%%") : QString(c);
        }
        quoted << u'"' + inner + u'"';
    }
    return stringValue(quoted.join(u' '));
}

bool AutostartEntry::write(const QString &program, const QStringList &arguments,
                           const QString &name, const QString &comment) const
{
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=") +
                          stringValue(name) + QStringLiteral("\nComment=") + stringValue(comment) +
                          QStringLiteral("\nExec=") + execLine(QStringList{program} + arguments) +
                          QStringLiteral("\nIcon=org.example.Ruvo\n"
                                         "Terminal=false\n"
                                         "NoDisplay=true\n"
                                         "X-GNOME-Autostart-enabled=true\n");
    return QDir().mkpath(QFileInfo(m_path).absolutePath()) &&
           ReplaceFileWhole(m_path, entry.toUtf8());
}

bool AutostartEntry::remove() const
{
    return QFile::remove(m_path) || !QFileInfo::exists(m_path);
}

} // namespace ruvo
