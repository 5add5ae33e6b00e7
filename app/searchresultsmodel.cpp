// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "searchresultsmodel.h"

namespace ruvo {

SearchResultsModel::SearchResultsModel(QObject *parent) : QAbstractListModel(parent)
{
    m_hourLabels = HourScaleLabels(m_startTime, m_language);
}

void SearchResultsModel::setLanguage(TLanguage language)
{
    m_language = language;
    renameRows();
}

void SearchResultsModel::setStartTime(int hour)
{
    if (hour >= 0 && hour <= 23)
        m_startTime = hour;
    renameRows();
}

void SearchResultsModel::renameRows()
{
    m_hourLabels = HourScaleLabels(m_startTime, m_language);
    m_dateTexts.clear();
    if (!m_hits.isEmpty())
        emit dataChanged(index(0), index(int(m_hits.size()) - 1));
}

void SearchResultsModel::clear()
{
    if (m_hits.isEmpty())
        return;
    beginResetModel();
    m_hits.clear();
    m_dateTexts.clear();
    endResetModel();
}

void SearchResultsModel::append(const QList<SearchHit> &hits)
{
    if (hits.isEmpty())
        return;
    const int first = int(m_hits.size());
    beginInsertRows({}, first, first + int(hits.size()) - 1);
    m_hits.append(hits);
    endInsertRows();
}

int SearchResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_hits.size());
}

QString SearchResultsModel::dateText(const QDate &date) const
{
    auto it = m_dateTexts.constFind(date);
    if (it == m_dateTexts.cend())
        it = m_dateTexts.insert(date, DateTextInFormat(date, 0, m_language));
    return *it;
}

QString SearchResultsModel::hourText(const SearchHit &hit) const
{
    if (hit.kind != DayFileKind::TimeFields || hit.line < 0 || hit.line >= kHourRows)
        return {};
    return m_hourLabels[std::size_t(hit.line)];
}

QVariant SearchResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_hits.size())
        return {};
    const SearchHit &hit = m_hits.at(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        const QString hour = hourText(hit);
        return QString(dateText(hit.date) + (hour.isEmpty() ? QString() : u' ' + hour) + u": " +
                       hit.text);
    }
    case DateTextRole:
        return dateText(hit.date);
    case HourRole:
        return hourText(hit);
    case LineRole:
        return hit.text;
    case MatchColumnRole:
        return hit.column;
    case MatchLengthRole:
        return hit.length;
    default:
        return {};
    }
}

} // namespace ruvo
