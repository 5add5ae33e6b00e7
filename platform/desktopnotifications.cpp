// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktopnotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace ruvo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage callOf(const QString &method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

DesktopNotifications::DesktopNotifications(const QString &appName, const QString &iconName,
                                           const QString &desktopEntry, QObject *parent)
    : QObject(parent), m_appName(appName), m_iconName(iconName), m_desktopEntry(desktopEntry)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(onClosed(uint, uint)));
}

DesktopNotifications::~DesktopNotifications()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.disconnect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                   SLOT(onActionInvoked(uint, QString)));
    bus.disconnect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                   SLOT(onClosed(uint, uint)));
}

void DesktopNotifications::askCapabilities()
{
    auto *watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(callOf(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        const QDBusPendingReply<QStringList> reply = *watcher;
        m_capabilities = reply.isValid() ? reply.value() : QStringList();
        watcher->deleteLater();
        emit ready();
    });
}

int DesktopNotifications::notify(const QString &summary, const QString &body,
                                 const QStringList &actions)
{
    const int number = ++m_lastNumber;
    QDBusMessage call = callOf(QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), m_desktopEntry}};
    call << m_appName << uint(0) << m_iconName << summary
         << (offersBodyMarkup() ? body.toHtmlEscaped() : body)
         << (offersActions() ? actions : QStringList()) << hints << int(-1);
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, number] {
        const QDBusPendingReply<uint> reply = *watcher;
        watcher->deleteLater();
        if (reply.isValid())
            m_shown.insert(reply.value(), number);
        else
            emit failed(reply.error().message());
    });
    return number;
}

void DesktopNotifications::onActionInvoked(uint serverId, const QString &key)
{
    const auto shown = m_shown.constFind(serverId);
    if (shown != m_shown.cend())
        emit actionInvoked(*shown, key);
}

void DesktopNotifications::onClosed(uint serverId, uint /*reason*/)
{
    m_shown.remove(serverId);
}

} // namespace ruvo
