// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qttranslations.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>

using namespace ruvo;

class QtTranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void contextMenuSpeaksThePagesLanguage_data();
    void contextMenuSpeaksThePagesLanguage();
};

void QtTranslationsTest::contextMenuSpeaksThePagesLanguage_data()
{
    QTest::addColumn<TLanguage>("language");
    QTest::addColumn<QString>("selectAll");
    QTest::newRow("French") << laFrench << "Tout sélectionner";
    QTest::newRow("English, after French") << laEnglish << "Select All";
}

void QtTranslationsTest::contextMenuSpeaksThePagesLanguage()
{
    QFETCH(TLanguage, language);
    QFETCH(QString, selectAll);
    const QString french =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_fr.qm");
    if (!QFileInfo::exists(french))
        QSKIP("Qt's French texts are not installed (qt6-translations-l10n)");
    QCOMPARE(InstallQtTranslations(*qApp, language), language != laEnglish);
    QPlainTextEdit editor;
    const std::unique_ptr<QMenu> menu(editor.createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text().remove(u'&').section(u'\t', 0, 0);
    QVERIFY2(texts.contains(selectAll), qPrintable(texts.join(u" | ")));
}

QTEST_MAIN(QtTranslationsTest)

#include "tst_qttranslations.moc"
