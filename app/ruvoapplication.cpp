// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ruvoapplication.h"

#include "calendar/error.h"
#include "widgets/lazyiconstyle.h"

#include <QMessageBox>
#include <QMetaObject>

namespace ruvo {

RuvoApplication::RuvoApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(programName());
    setApplicationVersion(programVersion());
    setDesktopFileName(desktopId());
    // An empty display name, so that the desktop shows every window's caption as the program
    // gives it, never followed by " — Ruvo".
    setApplicationDisplayName(QString());
    setStyle(new LazyIconStyle); // owned by the application
}

RuvoApplication::~RuvoApplication() = default;

QString RuvoApplication::programVersion()
{
    return QStringLiteral(RUVO_VERSION);
}

bool RuvoApplication::notify(QObject *receiver, QEvent *event)
{
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error &e) {
        message = e.message();
    } catch (const std::exception &e) {
        message = QString::fromUtf8(e.what());
    }
    // Shown after the event has finished, so the widget that threw is not re-entered from
    // inside its own handler.
    QMetaObject::invokeMethod(
        this, [this, message] { showError(message); }, Qt::QueuedConnection);
    return true;
}

void RuvoApplication::showError(const QString &message)
{
    if (m_shownMessages.contains(message))
        return;
    m_shownMessages.insert(message);
    auto *box = new QMessageBox(QMessageBox::Critical, programName(), message, QMessageBox::Ok,
                                activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Most reports come while the user types (a save after a pause, another program's write):
    // the box neither blocks the page nor takes the keyboard, so every key still reaches the
    // page. It is closed with the mouse.
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    connect(box, &QObject::destroyed, this, [this, message] { m_shownMessages.remove(message); });
    box->show();
    emit errorShown(message);
}

void RuvoApplication::showErrorAndWait(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, programName(), message, QMessageBox::Ok, activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    emit errorShown(message);
    box.exec();
}

} // namespace ruvo
