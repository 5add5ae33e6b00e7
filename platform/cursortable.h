// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCursor>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

#include <optional>

namespace ruvo {

// Cursor numbers of the process-wide cursor table.
constexpr qint16 crDefault = 0; // the arrow
constexpr qint16 crNone = -1;   // no cursor at all
constexpr qint16 crTopHand = -1018;
constexpr qint16 crRightHand = -1019;
constexpr qint16 crLeftHand = -1020;

// The process-wide table from a cursor number to a cursor. It lives as a child of the
// application object, so its cursors go before the application does.
class CursorTable final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CursorTable)

public:
    // The application's table; nullptr when there is no application object.
    static CursorTable *instance();

    using Loader = std::function<std::optional<QCursor>()>;

    // Replaces what the number held; std::nullopt removes the entry.
    void registerCursor(qint16 number, const std::optional<QCursor> &cursor);
    // The same, with the cursor made only when the number is first asked for: a cursor
    // replaced before anyone used it is never decoded.
    void registerCursor(qint16 number, Loader load);
    bool isRegistered(qint16 number) const;
    // The registered cursor; the arrow for 0 and for numbers the table does not hold; a
    // blank cursor for crNone.
    QCursor cursor(qint16 number) const;

private:
    explicit CursorTable(QObject *parent);
    void resolve(qint16 number) const;

    // Loaders are run at most once and then give way to what they made.
    mutable QHash<qint16, QCursor> m_cursors;
    mutable QHash<qint16, Loader> m_loaders;
};

// Shorthands over CursorTable::instance(); without an application they register nothing and
// give the arrow.
void RegisterCursor(qint16 number, const std::optional<QCursor> &cursor);
QCursor CursorByNumber(qint16 number);

// A cursor from a 1-bit picture and its mask: in the picture black pixels are black and white
// ones white; in the mask black pixels are opaque and white ones transparent. Both must have
// the same size. std::nullopt when either picture is empty.
std::optional<QCursor> CursorFromBitmaps(const QImage &picture, const QImage &mask, QPoint hotSpot);

// The cursor resource of that name (":/cursors/<NAME>.bmp" with "<NAME>_mask.bmp", names
// matched without regard to case) with its hot spot; std::nullopt when it is not there.
std::optional<QCursor> LoadCursorByName(const QString &name);

// The two start-up steps that fill the pad's hand cursors, to be run in this order once the
// application object exists: first the draft twins, then the cursors that replace them.
void RegisterDraftHandCursors();
void RegisterHandCursors();
// Both steps in order.
void RegisterStartupCursors();

} // namespace ruvo
