// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace ruvo {

// A window that shows one of the program's help documents (HTML). Topic 1 is the start of
// the document. A missing document is said inside the window.
class HelpViewer final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpViewer)

public:
    explicit HelpViewer(QWidget *parent = nullptr);

    // Loads the document and shows the window, raised.
    void showTopic(const QString &helpFile, int context);

    QString shownFile() const { return m_file; }
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr;
    QString m_file;
};

} // namespace ruvo
