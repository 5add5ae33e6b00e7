// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The tests' calendar servers (caldavserver.py): a real Radicale on a free port of 127.0.0.1,
// with user "u" and password "p" and a storage folder of its own, and a server that answers
// badly. Each is stopped when it goes.

#include "filebytes.h"

#include "notes/notessync.h"

#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

namespace ruvo::testing {

class TestServer
{
public:
    explicit TestServer(const QStringList &arguments)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        QStringList{QStringLiteral(RUVO_CALDAV_SERVER)} + arguments);
        if (m_process.waitForReadyRead(20'000))
            m_port = m_process.readLine().trimmed().toInt();
    }
    ~TestServer()
    {
        m_process.terminate();
        m_process.waitForFinished(10'000);
    }
    Q_DISABLE_COPY_MOVE(TestServer)
    int port() const { return m_port; }

private:
    QProcess m_process;
    int m_port = 0;
};

class Radicale
{
public:
    // storage: where its folder is made (a QTemporaryDir template); the system's temporary
    // folder unless given.
    explicit Radicale(bool tls = false, const QString &storage = QString())
        : m_storage(storage.isEmpty() ? QDir::tempPath() + u"/ruvo-radicale-XXXXXX" : storage),
          m_server({QStringLiteral("radicale"), m_storage.path(),
                    tls ? QStringLiteral("tls") : QString()}),
          m_scheme(tls ? QStringLiteral("https") : QStringLiteral("http"))
    {}
    int port() const { return m_server.port(); }
    // Its one calendar; MKCALENDAR makes it at the first sync.
    SyncSettings settings() const
    {
        return {m_scheme + u"://127.0.0.1:" + QString::number(port()) + u"/u/ruvo/",
                QStringLiteral("u")};
    }
    // The folder where the server keeps the items of user u's collection.
    QString collectionFolder(const QString &collection = QStringLiteral("ruvo")) const
    {
        return m_storage.path() + u"/collections/collection-root/u/" + collection;
    }
    // The items the server keeps, by UID, each with its text.
    QMap<QString, QByteArray> items() const
    {
        QMap<QString, QByteArray> found;
        QDirIterator it(collectionFolder(), {QStringLiteral("*.ics")}, QDir::Files);
        while (it.hasNext()) {
            const QByteArray text = bytesOf(it.next());
            const qsizetype uid = text.indexOf("\nUID:") + 5;
            found.insert(QString::fromUtf8(text.mid(uid, text.indexOf('\r', uid) - uid)), text);
        }
        return found;
    }
    // A change by another client, with curl: what it answers.
    QByteArray curl(const QStringList &arguments) const
    {
        QProcess process;
        process.start(
            QStringLiteral("curl"),
            QStringList{QStringLiteral("-s"), QStringLiteral("-u"), QStringLiteral("u:p")} +
                arguments);
        process.waitForFinished(20'000);
        return process.readAllStandardOutput();
    }
    QString url(const QString &name) const { return settings().server + name; }

private:
    QTemporaryDir m_storage;
    TestServer m_server;
    QString m_scheme;
};

} // namespace ruvo::testing
