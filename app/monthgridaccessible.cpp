// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "monthgridaccessible.h"

#include "monthgrid.h"

#include <QAccessibleWidget>

#include <array>

namespace ruvo {

namespace {

constexpr int kCells = MonthGrid::kColumns * MonthGrid::kRows;

class MonthGridTable final : public QAccessibleWidget
{
public:
    explicit MonthGridTable(MonthGrid *grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~MonthGridTable() override
    {
        for (const QAccessible::Id id : m_cells) {
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
        }
    }
    Q_DISABLE_COPY_MOVE(MonthGridTable)

    MonthGrid *grid() const { return static_cast<MonthGrid *>(widget()); }

    int childCount() const override { return kCells; }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < kCells; ++i) {
            if (m_cells[std::size_t(i)] != 0 &&
                QAccessible::accessibleInterface(m_cells[std::size_t(i)]) == child)
                return i;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = grid()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < kCells; ++i) {
            if (grid()->cellRect(i % MonthGrid::kColumns, i / MonthGrid::kColumns).contains(at))
                return child(i);
        }
        return nullptr;
    }

private:
    // Made when first asked for and owned by Qt's table of interfaces, until the grid goes.
    mutable std::array<QAccessible::Id, kCells> m_cells{};
};

class MonthGridCell final : public QAccessibleInterface
{
public:
    MonthGridCell(const MonthGridTable *table, int index)
        : m_table(table), m_column(index % MonthGrid::kColumns), m_row(index / MonthGrid::kColumns)
    {}

    bool isValid() const override { return m_table->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_table->window(); }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return const_cast<MonthGridTable *>(m_table); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override
    {
        return m_row == 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    QString text(QAccessible::Text kind) const override
    {
        const MonthGrid *grid = m_table->grid();
        if (kind == QAccessible::Name)
            return grid->cellText(m_column, m_row);
        const int day = grid->dayAt(m_column, m_row);
        if (kind != QAccessible::Description || day == 0)
            return {};
        QStringList told;
        if (grid->markedDays().test(std::size_t(day)))
            told << grid->withNotesWord();
        if (QDate(grid->year(), grid->month(), day) == grid->today())
            told << grid->todayWord();
        return told.join(QStringLiteral(", "));
    }

    QRect rect() const override
    {
        const MonthGrid *grid = m_table->grid();
        const QRect cell = grid->cellRect(m_column, m_row);
        return {grid->mapToGlobal(cell.topLeft()), cell.size()};
    }

    QAccessible::State state() const override
    {
        const MonthGrid *grid = m_table->grid();
        QAccessible::State state;
        const int day = grid->dayAt(m_column, m_row);
        state.invisible = m_row > 0 && day == 0;
        state.selectable = day > 0;
        state.selected = day > 0 && day == grid->day();
        return state;
    }

private:
    const MonthGridTable *m_table;
    int m_column;
    int m_row;
};

QAccessibleInterface *MonthGridTable::child(int index) const
{
    if (index < 0 || index >= kCells)
        return nullptr;
    QAccessible::Id &id = m_cells[std::size_t(index)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new MonthGridCell(this, index));
    return QAccessible::accessibleInterface(id);
}

} // namespace

QAccessibleInterface *MonthGridAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(MonthGrid::staticMetaObject.className()) &&
        object->isWidgetType())
        return new MonthGridTable(static_cast<MonthGrid *>(object));
    return nullptr;
}

} // namespace ruvo
