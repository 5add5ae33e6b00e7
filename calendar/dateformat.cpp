// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dateformat.h"

#include "datetext.h"
#include "localevariable.h"

#include <QLocale>
#include <QStringView>

namespace ruvo {

namespace {

struct DateFormatTable
{
    QString shortPattern = QStringLiteral("dd/mm/yyyy");
    QChar separator = localeDateSeparator();
};

DateFormatTable &formatTable()
{
    static DateFormatTable table;
    return table;
}

} // namespace

QString ShortDateFormat()
{
    return formatTable().shortPattern;
}

void setShortDateFormat(const QString &pattern)
{
    formatTable().shortPattern = pattern;
}

QChar DateSeparator()
{
    return formatTable().separator;
}

void setDateSeparator(QChar separator)
{
    formatTable().separator = separator;
}

QChar dateSeparatorForLocale(const QString &localeName)
{
    constexpr QChar fallback = u'/';
    // "de_DE.UTF-8@euro": the codeset and modifier say nothing about the date format.
    QString name = localeName;
    for (QChar stop : {u'.', u'@'}) {
        const qsizetype at = name.indexOf(stop);
        if (at >= 0)
            name.truncate(at);
    }
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return fallback;
    const QLocale locale(name);
    if (locale.language() == QLocale::C)
        return fallback;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    for (QChar c : format) {
        // Skip the fields (letters) and invisible direction marks some locales put around them.
        if (c.isLetter() || c.category() == QChar::Other_Format)
            continue;
        if (c.isSpace() || c == u'\'')
            return fallback;
        return c;
    }
    return fallback;
}

QChar localeDateSeparator()
{
    return dateSeparatorForLocale(LocaleVariable("LC_TIME"));
}

QString formatDate(int year, int month, int day, const QString &pattern, QChar separator)
{
    QString text;
    text.reserve(pattern.size());
    const QStringView p(pattern);
    qsizetype i = 0;
    while (i < p.size()) {
        const QStringView rest = p.mid(i);
        if (rest.startsWith(u"yyyy", Qt::CaseInsensitive)) {
            text += ZeroPad(quint32(year), 4);
            i += 4;
        } else if (rest.startsWith(u"yy", Qt::CaseInsensitive)) {
            text += ZeroPad(quint32(year % 100), 2);
            i += 2;
        } else if (rest.startsWith(u"mm", Qt::CaseInsensitive)) {
            text += ZeroPad(quint32(month), 2);
            i += 2;
        } else if (rest.startsWith(u"m", Qt::CaseInsensitive)) {
            text += QString::number(month);
            i += 1;
        } else if (rest.startsWith(u"dd", Qt::CaseInsensitive)) {
            text += ZeroPad(quint32(day), 2);
            i += 2;
        } else if (rest.startsWith(u"d", Qt::CaseInsensitive)) {
            text += QString::number(day);
            i += 1;
        } else if (rest.front() == u'/') {
            text += separator;
            i += 1;
        } else {
            text += rest.front();
            i += 1;
        }
    }
    return text;
}

} // namespace ruvo
