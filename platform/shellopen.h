// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

namespace ruvo {

// Asks "Exécution du navigateur pour visiter notre site web." in a modal box titled
// "Confirmation" with the buttons "OK" and "Annuler" (French, like all the program's
// messages). True for "OK".
bool ConfirmWebSiteVisit(QWidget *parent);

// The maker's web page in the user's browser, once the user has confirmed. A browser that
// does not start is not reported.
void VisitWebSite(QWidget *parent);

// Starts a program on its own, not waiting for it; a failure is ignored.
void StartProgram(const QString &program, const QString &workingDirectory = QString());

// Starts the maker's other program, which lies in folder (the start folder), from there.
void StartSiblingProgram(const QString &folder);

} // namespace ruvo
