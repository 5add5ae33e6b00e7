// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QWidget;

namespace ruvo {

// A second start in a start folder that a running copy holds brings that copy's window to the
// front instead of refusing with a message. The running copy listens on a local socket named
// after its start folder, beside its lock in the user's private runtime folder, where no other
// user can make that name first. A plain Unix socket watched by the event loop: Qt's network
// module and the libraries it brings are not loaded for six bytes.
class RunningCopy final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RunningCopy)

public:
    // The socket's path (RuntimeFileFor); empty without a private runtime folder.
    static QString serverName(const QString &folder);
    // The page the copy is asked for: the one it shows, or today's.
    enum class Page { AsItIs, Today };
    // Asks the copy running in folder to come to the front; true once it said it did.
    static bool bringToFront(const QString &folder, Page page = Page::AsItIs, int timeoutMs = 2000);

    // Listens for later starts in folder (whose lock this copy holds); each brings window to
    // the front.
    RunningCopy(const QString &folder, QWidget *window);
    ~RunningCopy() override;

signals:
    void broughtToFront();
    // After broughtToFront(), for a start that asked for today's page.
    void todayAsked();

private:
    void acceptStarts();
    void readRequest(int descriptor, QSocketNotifier *notifier, const QByteArray &heard);
    void bringWindowToFront();

    QString m_path;
    int m_descriptor = -1;
    QWidget *m_window = nullptr;
};

} // namespace ruvo
