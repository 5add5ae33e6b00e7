// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cursortable.h"

#include "cursorhotspots.h"
#include "resourcebitmap.h"

#include <QBitmap>
#include <QGuiApplication>

namespace ruvo {

namespace {

constexpr auto kObjectName = "ruvo-cursor-table";

// Black pixels become set bits, whatever the picture's palette order.
QImage setBitsOfBlack(const QImage &picture)
{
    return picture.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

CursorTable::CursorTable(QObject *parent) : QObject(parent)
{
    setObjectName(QLatin1StringView(kObjectName));
}

CursorTable *CursorTable::instance()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!qobject_cast<QGuiApplication *>(app))
        return nullptr;
    if (auto *table = app->findChild<CursorTable *>(QLatin1StringView(kObjectName),
                                                    Qt::FindDirectChildrenOnly))
        return table;
    return new CursorTable(app); // owned by the application
}

void CursorTable::registerCursor(qint16 number, const std::optional<QCursor> &cursor)
{
    m_loaders.remove(number);
    if (cursor)
        m_cursors.insert(number, *cursor);
    else
        m_cursors.remove(number);
}

void CursorTable::registerCursor(qint16 number, Loader load)
{
    m_cursors.remove(number);
    m_loaders.insert(number, std::move(load));
}

void CursorTable::resolve(qint16 number) const
{
    const auto pending = m_loaders.constFind(number);
    if (pending == m_loaders.cend())
        return;
    const Loader load = *pending;
    m_loaders.erase(pending);
    if (std::optional<QCursor> made = load())
        m_cursors.insert(number, *made);
}

bool CursorTable::isRegistered(qint16 number) const
{
    resolve(number);
    return m_cursors.contains(number);
}

QCursor CursorTable::cursor(qint16 number) const
{
    resolve(number);
    if (const auto found = m_cursors.constFind(number); found != m_cursors.cend())
        return *found;
    if (number == crNone)
        return QCursor(Qt::BlankCursor);
    return QCursor(Qt::ArrowCursor);
}

void RegisterCursor(qint16 number, const std::optional<QCursor> &cursor)
{
    if (CursorTable *table = CursorTable::instance())
        table->registerCursor(number, cursor);
}

QCursor CursorByNumber(qint16 number)
{
    if (CursorTable *table = CursorTable::instance())
        return table->cursor(number);
    return number == crNone ? QCursor(Qt::BlankCursor) : QCursor(Qt::ArrowCursor);
}

std::optional<QCursor> CursorFromBitmaps(const QImage &picture, const QImage &mask, QPoint hotSpot)
{
    if (picture.isNull() || mask.isNull() || picture.size() != mask.size())
        return std::nullopt;
    const QImage shape = setBitsOfBlack(mask);
    QImage image = setBitsOfBlack(picture);
    // A black pixel outside the mask would invert the screen on some systems and is
    // undefined on others: the mask decides what is drawn.
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (shape.pixel(x, y) != qRgb(0, 0, 0))
                image.setPixel(x, y, qRgb(255, 255, 255));
        }
    }
    return QCursor(QBitmap::fromImage(image), QBitmap::fromImage(shape), hotSpot.x(), hotSpot.y());
}

std::optional<QCursor> LoadCursorByName(const QString &name)
{
    const QString folder = QStringLiteral(":/cursors");
    const QString picturePath = FindResourceByName(folder, name + u".bmp");
    const QString maskPath = FindResourceByName(folder, name + u"_mask.bmp");
    if (picturePath.isEmpty() || maskPath.isEmpty())
        return std::nullopt;
    return CursorFromBitmaps(ReadBmpPicture(picturePath), ReadBmpPicture(maskPath),
                             CursorHotSpotOf(name));
}

namespace {

// The cursors are decoded when the pointer first needs them, not at start-up.
void registerResourceCursor(qint16 number, const QString &name)
{
    if (CursorTable *table = CursorTable::instance())
        table->registerCursor(number, [name] { return LoadCursorByName(name); });
}

} // namespace

void RegisterDraftHandCursors()
{
    registerResourceCursor(crRightHand, QStringLiteral("RightHand_D"));
    registerResourceCursor(crLeftHand, QStringLiteral("LeftHand_D"));
    registerResourceCursor(crTopHand, QStringLiteral("TopHand_D"));
}

void RegisterHandCursors()
{
    registerResourceCursor(crRightHand, QStringLiteral("RightHand"));
    registerResourceCursor(crLeftHand, QStringLiteral("LeftHand"));
    registerResourceCursor(crTopHand, QStringLiteral("TopHand"));
}

void RegisterStartupCursors()
{
    RegisterDraftHandCursors();
    RegisterHandCursors();
}

} // namespace ruvo
