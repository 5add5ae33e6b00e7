// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

namespace ruvo {

// The desktop's notification server (org.freedesktop.Notifications on the session bus). Every
// call is asynchronous: a server that is slow or gone never holds the caller up.
class DesktopNotifications final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifications)

public:
    // What each notification says it comes from: the program's name, the installed icon's
    // name and the desktop entry's name.
    DesktopNotifications(const QString &appName, const QString &iconName,
                         const QString &desktopEntry, QObject *parent = nullptr);
    ~DesktopNotifications() override;

    // Asks the server what it offers; ready() follows, at once where it does not answer.
    void askCapabilities();
    bool offersActions() const { return m_capabilities.contains(u"actions"); }
    bool offersBodyMarkup() const { return m_capabilities.contains(u"body-markup"); }

    // Shows one. actions: pairs of key and label, left out where the server offers none; a
    // body is escaped where the server reads markup. Returns a number of this object's own
    // that actionInvoked() gives back.
    int notify(const QString &summary, const QString &body, const QStringList &actions = {});

signals:
    void ready();
    void actionInvoked(int notification, const QString &key);
    // The server refused or could not be reached.
    void failed(const QString &reason);

private slots:
    // Connected by name: the server's signals are heard through the bus, not a QObject.
    void onActionInvoked(uint serverId, const QString &key);
    void onClosed(uint serverId, uint reason);

private:
    QString m_appName;
    QString m_iconName;
    QString m_desktopEntry;
    QStringList m_capabilities;
    QHash<uint, int> m_shown; // the server's id -> ours, until the server closes it
    int m_lastNumber = 0;
};

} // namespace ruvo
