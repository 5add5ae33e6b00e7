// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ruvo {

namespace {

constexpr auto kObjectName = "ruvo-qt-translations";

const char *codeOf(TLanguage language)
{
    switch (resolvedLanguage(language)) {
    case laGerman:
        return "de";
    case laFrench:
        return "fr";
    case laItalian:
        return "it";
    case laSpanish:
        return "es";
    default:
        return nullptr; // Qt's own texts are English
    }
}

} // namespace

bool InstallQtTranslations(QCoreApplication &app, TLanguage language)
{
    // One translator for the application, a child of it, found again by its name.
    delete app.findChild<QTranslator *>(QLatin1StringView(kObjectName), Qt::FindDirectChildrenOnly);
    const char *code = codeOf(language);
    if (!code)
        return false;
    auto *translator = new QTranslator(&app);
    translator->setObjectName(QLatin1StringView(kObjectName));
    if (!translator->load(u"qtbase_" + QLatin1StringView(code),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace ruvo
