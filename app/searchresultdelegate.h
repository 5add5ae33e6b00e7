// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStyledItemDelegate>

namespace ruvo {

// Draws a search result on two lines: its day (and hour) small and grey, then the line with
// the text found in bold, the line shifted left when the match would fall past the right edge.
class SearchResultDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchResultDelegate)

public:
    explicit SearchResultDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void drawHeading(QPainter &painter, const QStyleOptionViewItem &option, const QRect &rect,
                     const QModelIndex &index) const;
    void drawLine(QPainter &painter, const QStyleOptionViewItem &option, const QRect &rect,
                  const QModelIndex &index) const;
};

} // namespace ruvo
