// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "searchresultdelegate.h"

#include "app/searchresultsmodel.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace ruvo {

namespace {

constexpr int kMargin = 4; // pixels around the two lines
constexpr int kGap = 2;    // between them

QColor textColor(const QStyleOptionViewItem &option)
{
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    return option.palette.color(
        group, option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text);
}

} // namespace

SearchResultDelegate::SearchResultDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    // Every row is the same size, so the view can lay out any number of them at once.
    return {option.rect.width(), 2 * kMargin + kGap + 2 * option.fontMetrics.height()};
}

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    const QWidget *widget = option.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, widget);
    const int lineHeight = option.fontMetrics.height();
    const QRect inner = option.rect.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    painter->save();
    drawHeading(*painter, option, QRect(inner.left(), inner.top(), inner.width(), lineHeight),
                index);
    drawLine(*painter, option,
             QRect(inner.left(), inner.top() + lineHeight + kGap, inner.width(), lineHeight),
             index);
    painter->restore();
}

void SearchResultDelegate::drawHeading(QPainter &painter, const QStyleOptionViewItem &option,
                                       const QRect &rect, const QModelIndex &index) const
{
    QString heading = index.data(SearchResultsModel::DateTextRole).toString();
    const QString hour = index.data(SearchResultsModel::HourRole).toString();
    if (!hour.isEmpty())
        heading += u"  " + hour;
    QColor color = textColor(option);
    if (!(option.state & QStyle::State_Selected))
        color.setAlphaF(0.6f);
    painter.setPen(color);
    painter.setFont(option.font);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter,
                     option.fontMetrics.elidedText(heading, Qt::ElideRight, rect.width()));
}

void SearchResultDelegate::drawLine(QPainter &painter, const QStyleOptionViewItem &option,
                                    const QRect &rect, const QModelIndex &index) const
{
    const QString line = index.data(SearchResultsModel::LineRole).toString();
    const qsizetype column = std::clamp<qsizetype>(
        index.data(SearchResultsModel::MatchColumnRole).toInt(), 0, line.size());
    const qsizetype length = std::clamp<qsizetype>(
        index.data(SearchResultsModel::MatchLengthRole).toInt(), 0, line.size() - column);
    QFont bold = option.font;
    bold.setBold(true);
    const QFontMetrics &plainMetrics = option.fontMetrics;
    const QFontMetrics boldMetrics(bold);

    const QString match = line.sliced(column, length);
    const int matchWidth = boldMetrics.horizontalAdvance(match);
    QString before = line.first(column);
    // What precedes the match gives way to it, down to a third of the room.
    const int beforeRoom = std::max(rect.width() / 3, rect.width() - matchWidth);
    if (plainMetrics.horizontalAdvance(before) > beforeRoom)
        before = plainMetrics.elidedText(before, Qt::ElideLeft, beforeRoom);

    painter.setPen(textColor(option));
    QRect part = rect;
    painter.setFont(option.font);
    painter.drawText(part, Qt::AlignLeft | Qt::AlignVCenter, before);
    part.setLeft(part.left() + plainMetrics.horizontalAdvance(before));
    painter.setFont(bold);
    painter.drawText(part, Qt::AlignLeft | Qt::AlignVCenter, match);
    part.setLeft(part.left() + matchWidth);
    if (part.width() <= 0)
        return;
    painter.setFont(option.font);
    painter.drawText(
        part, Qt::AlignLeft | Qt::AlignVCenter,
        plainMetrics.elidedText(line.sliced(column + length), Qt::ElideRight, part.width()));
}

} // namespace ruvo
