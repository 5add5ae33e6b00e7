// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QSet>
#include <QString>

namespace ruvo {

// The application object. It is also the program's last line of error handling: an Error
// (or any other exception) that leaves an event handler is caught here and its message shown
// in a message box once that event has finished; the program goes on.
class RuvoApplication final : public QApplication
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RuvoApplication)

public:
    // The program's name, the title of its message boxes.
    static QString programName() { return QStringLiteral("Ruvo"); }
    // The project's version, as CMake gives it.
    static QString programVersion();
    // The desktop entry's name without ".desktop", by which docks find the icon and the name.
    static QString desktopId() { return QStringLiteral("org.example.Ruvo"); }

    RuvoApplication(int &argc, char **argv);
    ~RuvoApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;

    // Messages whose box is open now.
    QSet<QString> shownMessages() const { return m_shownMessages; }

public slots:
    // Shows a message box with the message, unless a box with the same message is open. The box
    // leaves the keyboard where it is and blocks no window.
    void showError(const QString &message);
    // The same, waiting until the user has closed the box: for a message that must be read
    // before the program goes on (a window that is about to close).
    void showErrorAndWait(const QString &message);

signals:
    void errorShown(const QString &message);

private:
    QSet<QString> m_shownMessages;
};

} // namespace ruvo
