// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "helpviewer.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ruvo {

HelpViewer::HelpViewer(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Ruvo — Documentation"));
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(560, 640);
}

void HelpViewer::showTopic(const QString &helpFile, int context)
{
    Q_UNUSED(context); // each document is one topic, read from its start
    m_file = helpFile;
    QFile file(helpFile);
    if (QFileInfo(helpFile).isFile() && file.open(QIODevice::ReadOnly)) {
        m_browser->setSearchPaths({QFileInfo(helpFile).absolutePath()});
        m_browser->setHtml(QString::fromUtf8(file.readAll()));
    } else {
        m_browser->setPlainText(QStringLiteral("Le fichier d'aide %1 est introuvable.\n\n"
                                               "The help file %1 cannot be found.")
                                    .arg(helpFile));
    }
    show();
    raise();
    activateWindow();
}

} // namespace ruvo
