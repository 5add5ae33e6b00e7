// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shellopen.h"

#include "programlinks.h"

#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace ruvo {

bool ConfirmWebSiteVisit(QWidget *parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"),
                    QStringLiteral("Exécution du navigateur pour visiter notre site web."),
                    QMessageBox::NoButton, parent);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok;
}

void VisitWebSite(QWidget *parent)
{
    if (ConfirmWebSiteVisit(parent))
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebSiteAddress)));
}

void StartProgram(const QString &program, const QString &workingDirectory)
{
    QProcess::startDetached(program, {}, workingDirectory);
}

void StartSiblingProgram(const QString &folder)
{
    StartProgram(QDir(folder).absoluteFilePath(QString::fromLatin1(kSiblingProgram)), folder);
}

} // namespace ruvo
