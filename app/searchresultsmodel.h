// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/language.h"
#include "notes/hourscale.h"
#include "notes/notessearch.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

#include <array>

namespace ruvo {

// The hits of a search as rows: each names its day by the long date in the page's language, an
// hour entry by its hour, and holds the line with where the text was found in it.
class SearchResultsModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchResultsModel)

public:
    enum Role {
        DateTextRole = Qt::UserRole + 1, // "Mardi 8 Décembre 2026"
        HourRole,                        // "07:00" for an hour entry, else empty
        LineRole,                        // the whole line
        MatchColumnRole,
        MatchLengthRole,
    };

    explicit SearchResultsModel(QObject *parent = nullptr);

    // Both rename the rows at once.
    void setLanguage(TLanguage language);
    void setStartTime(int hour);

    void clear();
    void append(const QList<SearchHit> &hits);
    const SearchHit &hit(int row) const { return m_hits.at(row); }

    int rowCount(const QModelIndex &parent = {}) const override;
    // DisplayRole reads the whole row, as a screen reader says it.
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QString dateText(const QDate &date) const;
    QString hourText(const SearchHit &hit) const;
    void renameRows();

    QList<SearchHit> m_hits;
    TLanguage m_language = laDefault;
    int m_startTime = 8; // the pad's own default
    std::array<QString, kHourRows> m_hourLabels;
    // Many rows share a day: its text is made once, when a row of it is first shown.
    mutable QHash<QDate, QString> m_dateTexts;
};

} // namespace ruvo
