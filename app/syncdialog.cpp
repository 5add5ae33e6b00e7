// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "syncdialog.h"

#include "calendar/error.h"
#include "notes/caldav.h"
#include "notes/notessync.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace ruvo {

SyncDialog::SyncDialog(const QString &settingsPath, QWidget *parent)
    : QDialog(parent), m_settingsPath(settingsPath), m_server(new QLineEdit(this)),
      m_user(new QLineEdit(this)), m_password(new QLineEdit(this)),
      m_try(new QPushButton(QStringLiteral("&Essayer la connexion"), this)),
      m_status(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Synchronisation"));
    auto *intro = new QLabel(
        QStringLiteral("Les notes sont synchronisées avec un calendrier CalDAV (Radicale, "
                       "Nextcloud, Baïkal…), que vos autres appareils lisent aussi. Laissez "
                       "l'adresse vide pour ne plus synchroniser."),
        this);
    intro->setWordWrap(true);
    const SyncSettings settings = ReadSyncSettings(settingsPath);
    m_server->setText(settings.server);
    m_server->setPlaceholderText(QStringLiteral("https://exemple.org/dav/calendars/moi/ruvo/"));
    m_user->setText(settings.user);
    m_password->setEchoMode(QLineEdit::Password);
    if (settings.isSet())
        m_password->setPlaceholderText(QStringLiteral("vide : celui déjà gardé"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Adresse du calendrier :"), m_server);
    form->addRow(QStringLiteral("&Utilisateur :"), m_user);
    form->addRow(QStringLiteral("&Mot de passe :"), m_password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Annuler"));
    buttons->addButton(m_try, QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    setMinimumWidth(460);

    connect(buttons, &QDialogButtonBox::accepted, this, &SyncDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SyncDialog::reject);
    connect(m_try, &QPushButton::clicked, this, &SyncDialog::tryConnection);
}

void SyncDialog::tryConnection()
{
    const SyncSettings settings{m_server->text().trimmed(), m_user->text().trimmed()};
    if (!settings.isSet()) {
        m_status->setText(QStringLiteral("Donnez l'adresse du calendrier."));
        emit tried(false);
        return;
    }
    m_try->setEnabled(false);
    m_status->setText(QStringLiteral("Connexion au calendrier…"));
    auto *watcher = new QFutureWatcher<std::optional<QString>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        const std::optional<QString> failure = watcher->result();
        watcher->deleteLater();
        m_try->setEnabled(true);
        m_status->setText(
            failure ? u"La connexion n'a pu se faire : " + *failure + u'.'
                    : QStringLiteral("Le calendrier répond : la synchronisation peut se faire."));
        emit tried(!failure);
    });
    watcher->setFuture(QtConcurrent::run(
        [settings, password = m_password->text()] { return TryCalendar(settings, password); }));
}

void SyncDialog::accept()
{
    const SyncSettings settings{m_server->text().trimmed(), m_user->text().trimmed()};
    if (!m_password->text().isEmpty()) {
        QString why;
        const CalDavModule *module = LoadCalDavModule(&why);
        if (!module ||
            !module->storePassword(settings.server, settings.user, m_password->text(), &why)) {
            m_status->setText(u"Le mot de passe n'a pu être gardé : " + why + u'.');
            return;
        }
    }
    try {
        WriteSyncSettings(m_settingsPath, settings);
    } catch (const Error &e) {
        m_status->setText(e.message());
        return;
    }
    QDialog::accept();
}

} // namespace ruvo
