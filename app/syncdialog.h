// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ruvo {

// "Synchronisation…": the calendar's address and user, kept in the settings file, and the
// password, kept in the desktop's keyring; a button tries the connection without closing.
class SyncDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SyncDialog)

public:
    explicit SyncDialog(const QString &settingsPath, QWidget *parent = nullptr);

    QLineEdit *serverField() const { return m_server; }
    QLineEdit *userField() const { return m_user; }
    // Left empty, the password already kept stays.
    QLineEdit *passwordField() const { return m_password; }
    QPushButton *tryButton() const { return m_try; }
    // What the last try, or a refused OK, answered.
    QLabel *status() const { return m_status; }

    // Tries the calendar the fields name, on a thread: the dialog stays usable and the status
    // tells the answer.
    void tryConnection();
    // Keeps the password typed in the keyring, then the address and user in the settings file;
    // the dialog stays open, saying why, when either cannot be kept.
    void accept() override;

signals:
    void tried(bool answered);

private:
    QString m_settingsPath;
    QLineEdit *m_server;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QPushButton *m_try;
    QLabel *m_status;
};

} // namespace ruvo
