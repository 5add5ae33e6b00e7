// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/programlinks.h"
#include "platform/shellopen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace ruvo;

namespace {

// Stands in for the browser: records what would have been opened.
class UrlRecorder final : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

// Answers the next modal message box with the button of that caption, and reports what the
// box said.
void answerNextBox(const QString &button, QString *title, QString *text)
{
    QTimer::singleShot(0, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        *title = box->windowTitle();
        *text = box->text();
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == button)
                b->click();
        }
    });
}

} // namespace

class ShellOpenTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_browser, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_browser, "open");
        m_browser.opened.clear();
    }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }

    void webSiteOpensOnlyAfterOk_data();
    void webSiteOpensOnlyAfterOk();

private:
    UrlRecorder m_browser;
};

void ShellOpenTest::webSiteOpensOnlyAfterOk_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("opened");
    QTest::newRow("OK") << "OK" << 1;
    QTest::newRow("Annuler") << "Annuler" << 0;
}

void ShellOpenTest::webSiteOpensOnlyAfterOk()
{
    QFETCH(QString, answer);
    QFETCH(int, opened);
    QString title;
    QString text;
    answerNextBox(answer, &title, &text);
    VisitWebSite(nullptr);
    QCOMPARE(title, QStringLiteral("Confirmation"));
    QCOMPARE(text, QStringLiteral("Exécution du navigateur pour visiter notre site web."));
    QCOMPARE(m_browser.opened.size(), opened);
    if (opened)
        QCOMPARE(m_browser.opened.first(), QUrl(QString::fromLatin1(kWebSiteAddress)));
}

QTEST_MAIN(ShellOpenTest)

#include "tst_shellopen.moc"
