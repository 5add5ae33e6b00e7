// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "language.h"

#include "datetext.h"
#include "localevariable.h"

#include <array>

namespace ruvo {

namespace {

struct LanguageNames
{
    std::array<const char16_t *, 7> days;
    std::array<const char16_t *, 7> shortDays;
    std::array<const char16_t *, 12> months;
    std::array<const char16_t *, 12> shortMonths;
};

// Indexed by TLanguage - 1. Spellings are the program's own and are never re-cased.
constexpr std::array<LanguageNames, 5> kNames = {{
    {{u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"},
     {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"},
     {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August",
      u"September", u"October", u"November", u"December"},
     {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov",
      u"Dec"}},
    {{u"Sonntag", u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag"},
     {u"Son", u"Mon", u"Die", u"Mit", u"Don", u"Fre", u"Sam"},
     {u"Januar", u"Februar", u"März", u"April", u"Mai", u"Juni", u"Juli", u"August", u"September",
      u"Oktober", u"November", u"Dezember"},
     {u"Jan", u"Feb", u"Mär", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov",
      u"Dez"}},
    {{u"Dimanche", u"Lundi", u"Mardi", u"Mercredi", u"Jeudi", u"Vendredi", u"Samedi"},
     {u"Dim", u"Lun", u"Mar", u"Mer", u"Jeu", u"Ven", u"Sam"},
     {u"Janvier", u"Février", u"Mars", u"Avril", u"Mai", u"Juin", u"Juillet", u"Août", u"Septembre",
      u"Octobre", u"Novembre", u"Décembre"},
     {u"Jan", u"Fév", u"Mar", u"Avr", u"Mai", u"Jui", u"Jui", u"Aoû", u"Sep", u"Oct", u"Nov",
      u"Déc"}},
    {{u"Domenica", u"Lunedi", u"Martedi", u"Mercoledi", u"Giovedi", u"Venerdi", u"Sabato"},
     {u"Dom", u"Lun", u"Mar", u"Mer", u"Gio", u"Ven", u"Sab"},
     {u"Gennaio", u"Febbraio", u"Marzo", u"Aprile", u"Maggio", u"Giugno", u"Luglio", u"Agosto",
      u"Settembre", u"Ottobre", u"Novembre", u"Dicembre"},
     {u"Gen", u"Feb", u"Mar", u"Apr", u"Mag", u"Giu", u"Lug", u"Ago", u"Set", u"Ott", u"Nov",
      u"Dic"}},
    {{u"Domingo", u"Lunes", u"Martes", u"Miércoles", u"Jueves", u"Viernes", u"Sálbado"},
     {u"Dom", u"Lun", u"Mar", u"Mié", u"Jue", u"Vie", u"Sál"},
     {u"Enero", u"Febrero", u"Marzo", u"Abril", u"Mayo", u"Junio", u"Julio", u"Agosto",
      u"Septiembre", u"Octubre", u"Noviembre", u"Diciembre"},
     {u"Ene", u"Feb", u"Mar", u"Abr", u"May", u"Jun", u"Jul", u"Ago", u"Sep", u"Oct", u"Nov",
      u"Dic"}},
}};

struct LanguageWords
{
    const char16_t *day;
    const char16_t *week;
    const char16_t *prior;
    const char16_t *next;
    const char16_t *go;
    const char16_t *notes;
};

// Indexed by TLanguage - 1.
constexpr std::array<LanguageWords, 5> kPadWords = {{
    {u"Day", u"Week", u"prior", u"next", u"go", u"Notes"},
    {u"Tag", u"Woche", u"Vortag", u"Folgendtag", u"Gehen", u"Notizen"},
    {u"Jour", u"Semaine", u"Jour précédent", u"Jour suivant", u"Aller à", u"Notes"},
    {u"Giorno", u"Settimana", u"anteriore", u"prossimo", u"andare", u"Note"},
    {u"Diario", u"Semana", u"anterior", u"proximo", u"ir", u"Notas"},
}};

// Indexed by TLanguage - 1, in the order of PadCommandWords.
constexpr std::array<std::array<const char16_t *, 19>, 5> kCommandWords = {{
    {u"Previous day", u"Next day", u"Today", u"Go to a date…", u"Search…", u"Export…",
     u"Ctrl+Page Up", u"Ctrl+Page Down", u"Alt+Home", u"Ctrl+G", u"Ctrl+F", u"Ctrl+E", u"Search",
     u"Find in every note", u"No day holds this text", u"Export the notes",
     u"iCalendar, the notes as events", u"Synchronize", u"Synchronization…"},
    {u"Vorheriger Tag", u"Nächster Tag", u"Heute", u"Gehe zu Datum…", u"Suchen…", u"Exportieren…",
     u"Strg+Bild auf", u"Strg+Bild ab", u"Alt+Pos1", u"Strg+G", u"Strg+F", u"Strg+E", u"Suchen",
     u"In allen Notizen suchen", u"Kein Tag enthält diesen Text", u"Notizen exportieren",
     u"iCalendar, Notizen als Termine", u"Synchronisieren", u"Synchronisierung…"},
    {u"Jour précédent", u"Jour suivant", u"Aujourd'hui", u"Aller à une date…", u"Rechercher…",
     u"Exporter…", u"Ctrl+Pg préc", u"Ctrl+Pg suiv", u"Alt+Origine", u"Ctrl+G", u"Ctrl+F",
     u"Ctrl+E", u"Rechercher", u"Chercher dans toutes les notes",
     u"Aucun jour ne contient ce texte", u"Exporter les notes", u"iCalendar, notes en événements",
     u"Synchroniser", u"Synchronisation…"},
    {u"Giorno precedente", u"Giorno successivo", u"Oggi", u"Vai a una data…", u"Cerca…",
     u"Esporta…", u"Ctrl+Pag su", u"Ctrl+Pag giù", u"Alt+Home", u"Ctrl+G", u"Ctrl+F", u"Ctrl+E",
     u"Cerca", u"Cerca in tutte le note", u"Nessun giorno contiene questo testo",
     u"Esporta le note", u"iCalendar, note come eventi", u"Sincronizza", u"Sincronizzazione…"},
    {u"Día anterior", u"Día siguiente", u"Hoy", u"Ir a una fecha…", u"Buscar…", u"Exportar…",
     u"Ctrl+Re Pág", u"Ctrl+Av Pág", u"Alt+Inicio", u"Ctrl+G", u"Ctrl+F", u"Ctrl+E", u"Buscar",
     u"Buscar en todas las notas", u"Ningún día contiene este texto", u"Exportar las notas",
     u"iCalendar, notas como eventos", u"Sincronizar", u"Sincronización…"},
}};

const LanguageNames &namesOf(TLanguage language)
{
    return kNames[resolvedLanguage(language) - 1];
}

template<std::size_t N> QString lookUp(const std::array<const char16_t *, N> &names, int index)
{
    if (index < 1 || index > int(N))
        return {};
    return QString::fromUtf16(names[std::size_t(index - 1)]);
}

} // namespace

TLanguage languageFromAbbreviation(const QString &abbreviation)
{
    const QString prefix = abbreviation.left(2).toUpper();
    if (prefix == u"DE")
        return laGerman;
    if (prefix == u"ES")
        return laSpanish;
    if (prefix == u"FR")
        return laFrench;
    if (prefix == u"IT")
        return laItalian;
    return laEnglish;
}

TLanguage SystemLanguage()
{
    const QString locale = LocaleVariable("LC_MESSAGES");
    if (locale.isEmpty())
        return laEnglish;
    // As gettext: the list of languages in LANGUAGE comes first, its first one the page speaks,
    // unless the locale is the C one, which always speaks English.
    const bool cLocale = locale == u"C" || locale == u"POSIX" || locale.startsWith(u"C.");
    if (!cLocale) {
        const QStringList languages =
            qEnvironmentVariable("LANGUAGE").split(u':', Qt::SkipEmptyParts);
        for (const QString &entry : languages) {
            // "de", "de_AT", "de.UTF-8": a language code, then perhaps a country or a charset.
            if (entry.size() > 2 && entry.at(2).isLetter())
                continue;
            const QString code = entry.left(2).toLower();
            if (code == u"en" || code == u"de" || code == u"fr" || code == u"it" || code == u"es")
                return languageFromAbbreviation(code);
        }
    }
    return languageFromAbbreviation(locale);
}

TLanguage resolvedLanguage(TLanguage language)
{
    if (language >= laEnglish && language <= laSpanish)
        return language;
    return SystemLanguage();
}

QString DayName(int weekday, TLanguage language)
{
    return lookUp(namesOf(language).days, weekday);
}

QString ShortDayName(int weekday, TLanguage language)
{
    return lookUp(namesOf(language).shortDays, weekday);
}

QString MonthName(int month, TLanguage language)
{
    return lookUp(namesOf(language).months, month);
}

QString ShortMonthName(int month, TLanguage language)
{
    return lookUp(namesOf(language).shortMonths, month);
}

PadWords PadWordsOf(TLanguage language)
{
    const LanguageWords &words = kPadWords[resolvedLanguage(language) - 1];
    return {QString::fromUtf16(words.day),   QString::fromUtf16(words.week),
            QString::fromUtf16(words.prior), QString::fromUtf16(words.next),
            QString::fromUtf16(words.go),    QString::fromUtf16(words.notes)};
}

PadCommandWords PadCommandWordsOf(TLanguage language)
{
    const auto &w = kCommandWords[resolvedLanguage(language) - 1];
    const auto at = [&w](std::size_t i) {
        return QString::fromUtf16(w[i]);
    };
    return {at(0),  at(1),  at(2),  at(3),  at(4),  at(5),  at(6),  at(7),  at(8), at(9),
            at(10), at(11), at(12), at(13), at(14), at(15), at(16), at(17), at(18)};
}

// Indexed by TLanguage - 1: the title, then none and each lead.
constexpr std::array<std::array<const char16_t *, 7>, 5> kReminderWords = {{
    {u"Reminders", u"None", u"On the hour", u"5 minutes before", u"10 minutes before",
     u"15 minutes before", u"30 minutes before"},
    {u"Erinnerungen", u"Keine", u"Zur vollen Stunde", u"5 Minuten vorher", u"10 Minuten vorher",
     u"15 Minuten vorher", u"30 Minuten vorher"},
    {u"Rappels", u"Aucun", u"À l'heure", u"5 minutes avant", u"10 minutes avant",
     u"15 minutes avant", u"30 minutes avant"},
    {u"Promemoria", u"Nessuno", u"All'ora", u"5 minuti prima", u"10 minuti prima",
     u"15 minuti prima", u"30 minuti prima"},
    {u"Recordatorios", u"Ninguno", u"A la hora", u"5 minutos antes", u"10 minutos antes",
     u"15 minutos antes", u"30 minutos antes"},
}};

ReminderWords ReminderWordsOf(TLanguage language)
{
    const auto &words = kReminderWords[std::size_t(resolvedLanguage(language) - 1)];
    ReminderWords result{QString::fromUtf16(words[0]), {}};
    for (std::size_t i = 0; i < result.choices.size(); ++i)
        result.choices[i] = QString::fromUtf16(words[i + 1]);
    return result;
}

// Indexed by TLanguage - 1, in the order of DateDialogWords.
constexpr std::array<std::array<const char16_t *, 7>, 5> kDateDialogWords = {{
    {u"Month", u"Year", u"Days of the month", u"Next year", u"Previous year", u"notes", u"today"},
    {u"Monat", u"Jahr", u"Tage des Monats", u"Nächstes Jahr", u"Voriges Jahr", u"Notizen",
     u"heute"},
    {u"Mois", u"Année", u"Jours du mois", u"Année suivante", u"Année précédente", u"notes",
     u"aujourd'hui"},
    {u"Mese", u"Anno", u"Giorni del mese", u"Anno successivo", u"Anno precedente", u"note",
     u"oggi"},
    {u"Mes", u"Año", u"Días del mes", u"Año siguiente", u"Año anterior", u"notas", u"hoy"},
}};

DateDialogWords DateDialogWordsOf(TLanguage language)
{
    const auto &words = kDateDialogWords[std::size_t(resolvedLanguage(language) - 1)];
    const auto at = [&words](std::size_t i) {
        return QString::fromUtf16(words[i]);
    };
    return {at(0), at(1), at(2), at(3), at(4), at(5), at(6)};
}

QString CancelCaption(TLanguage language)
{
    switch (resolvedLanguage(language)) {
    case laGerman:
        return QStringLiteral("&Annulieren");
    case laFrench:
        return QStringLiteral("&Annuler");
    case laItalian:
        return QStringLiteral("&Annulare");
    case laSpanish:
        return QStringLiteral("&Cancelar");
    default:
        return QStringLiteral("&Cancel");
    }
}

QString DateTextInFormat(const QDate &date, int format, TLanguage language)
{
    const TLanguage l = resolvedLanguage(language);
    const int weekday = date.dayOfWeek() % 7 + 1;
    const QString day = QString::number(date.day());
    const QString year = QString::number(date.year());
    switch (format) {
    case 0:
        return DayName(weekday, l) + u' ' + day + u' ' + MonthName(date.month(), l) + u' ' + year;
    case 1:
        return day + u' ' + MonthName(date.month(), l) + u' ' + year;
    case 2:
        return DateToText(date);
    case 3:
        return ZeroPad(quint32(date.day()), 2);
    case 4:
        return DayName(weekday, l);
    case 5:
        return MonthName(date.month(), l);
    case 6:
        return year;
    default:
        return {};
    }
}

QString TodayText(int format, TLanguage language)
{
    return DateTextInFormat(QDate::currentDate(), format, language);
}

} // namespace ruvo
