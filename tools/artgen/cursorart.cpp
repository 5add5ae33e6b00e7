// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cursorart.h"

#include "platform/cursorhotspots.h"

#include <array>

namespace ruvo::artgen {

namespace {

constexpr int kSize = 32;

// A hand pointing up with the tip of the index finger at (11, 3): '#' black, '.' white,
// ' ' transparent. The other hands are turned copies of it.
constexpr std::array<const char *, kSize> kTopHand = {
    "                                ", //
    "                                ", //
    "                                ", //
    "          ###                   ", //
    "         #...#                  ", //
    "         #...#                  ", //
    "         #...#                  ", //
    "         #...#                  ", //
    "         #...#                  ", //
    "         #...#                  ", //
    "         #...####               ", //
    "         #...#...####           ", //
    "         #...#...#...#          ", //
    "         #...#...#...###        ", //
    "         #...#...#...#..#       ", //
    "   ##    #...#...#...#..#       ", //
    "  #..#   #...#...#...#..#       ", //
    "  #...#  #...#...#...#..#       ", //
    "   #...# #...#...#...#..#       ", //
    "    #...................#       ", //
    "    #...................#       ", //
    "     #..................#       ", //
    "      #.................#       ", //
    "       #...............#        ", //
    "        #.............#         ", //
    "        #.............#         ", //
    "        ###############         ", //
    "        #.............#         ", //
    "        #.............#         ", //
    "        ###############         ", //
    "                                ", //
    "                                ", //
};

using Grid = std::array<std::array<char, kSize>, kSize>;

Grid gridOf(const std::array<const char *, kSize> &rows)
{
    Grid grid{};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            grid[size_t(y)][size_t(x)] = rows[size_t(y)][x];
    return grid;
}

// The plain twin: the same outline, filled white, without knuckle lines.
Grid plainOf(const Grid &hand)
{
    Grid plain = hand;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (hand[size_t(y)][size_t(x)] != '#')
                continue;
            bool inside = true;
            for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const int nx = x + d.x(), ny = y + d.y();
                if (nx < 0 || ny < 0 || nx >= kSize || ny >= kSize ||
                    hand[size_t(ny)][size_t(nx)] == ' ')
                    inside = false;
            }
            if (inside)
                plain[size_t(y)][size_t(x)] = '.';
        }
    }
    return plain;
}

// Turns the upward hand into a leftward one (a transpose) and moves it by `shift`.
Grid leftOf(const Grid &up, QPoint shift)
{
    Grid left{};
    for (auto &row : left)
        row.fill(' ');
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int nx = y + shift.x(), ny = x + shift.y();
            if (nx >= 0 && ny >= 0 && nx < kSize && ny < kSize)
                left[size_t(ny)][size_t(nx)] = up[size_t(y)][size_t(x)];
        }
    }
    return left;
}

// Mirrors left to right about the column `axis` / 2.
Grid mirrorOf(const Grid &hand, int axis)
{
    Grid mirrored{};
    for (auto &row : mirrored)
        row.fill(' ');
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int nx = axis - x;
            if (nx >= 0 && nx < kSize)
                mirrored[size_t(y)][size_t(nx)] = hand[size_t(y)][size_t(x)];
        }
    }
    return mirrored;
}

HandCursor cursorOf(const QString &name, QPoint hotSpot, const Grid &grid)
{
    const QList<QRgb> blackWhite = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    HandCursor cursor{name, hotSpot, QImage(kSize, kSize, QImage::Format_Indexed8),
                      QImage(kSize, kSize, QImage::Format_Indexed8)};
    cursor.image.setColorTable(blackWhite);
    cursor.mask.setColorTable(blackWhite);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const char c = grid[size_t(y)][size_t(x)];
            // Transparent pixels are white in the image too, as monochrome cursors need.
            cursor.image.setPixel(x, y, c == '#' ? 0 : 1);
            cursor.mask.setPixel(x, y, c == ' ' ? 1 : 0);
        }
    }
    return cursor;
}

} // namespace

QList<HandCursor> paintHandCursors()
{
    const Grid top = gridOf(kTopHand);
    // Transposing puts the fingertip (11, 3) at (3, 11); two columns left gives (1, 11).
    const Grid left = leftOf(top, QPoint(-2, 0));
    // Mirroring about 30 / 2 sends (1, 11) to (29, 11).
    const Grid right = mirrorOf(left, 30);
    const auto hand = [](const char16_t *name, const Grid &grid) {
        return cursorOf(QString::fromUtf16(name), CursorHotSpotOf(name), grid);
    };
    return {
        hand(u"LEFTHAND", left),
        hand(u"RIGHTHAND", right),
        hand(u"TOPHAND", top),
        hand(u"LEFTHAND_D", plainOf(left)),
        hand(u"RIGHTHAND_D", plainOf(right)),
        hand(u"TOPHAND_D", plainOf(top)),
    };
}

} // namespace ruvo::artgen
