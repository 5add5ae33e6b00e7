// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "colorvalue.h"

#include <QGuiApplication>
#include <QPalette>

namespace ruvo {

namespace {

struct SystemColor
{
    quint8 index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The system colour indices the program's pictures and forms use, matched to the palette
// role that plays the same part on a Qt desktop.
constexpr SystemColor kSystemColors[] = {
    {0, QPalette::Active, QPalette::Button},           // scroll bar
    {1, QPalette::Active, QPalette::Window},           // desktop
    {2, QPalette::Active, QPalette::Highlight},        // active caption
    {4, QPalette::Active, QPalette::Window},           // menu
    {5, QPalette::Active, QPalette::Base},             // window
    {6, QPalette::Active, QPalette::Shadow},           // window frame
    {7, QPalette::Active, QPalette::WindowText},       // menu text
    {8, QPalette::Active, QPalette::Text},             // window text
    {9, QPalette::Active, QPalette::HighlightedText},  // caption text
    {13, QPalette::Active, QPalette::Highlight},       // highlight
    {14, QPalette::Active, QPalette::HighlightedText}, // highlighted text
    {15, QPalette::Active, QPalette::Button},          // button face
    {16, QPalette::Active, QPalette::Dark},            // button shadow
    {17, QPalette::Disabled, QPalette::Text},          // grey text
    {18, QPalette::Active, QPalette::ButtonText},      // button text
    {20, QPalette::Active, QPalette::Light},           // button highlight
    {21, QPalette::Active, QPalette::Shadow},          // dark 3D shadow
    {22, QPalette::Active, QPalette::Midlight},        // 3D light
    {23, QPalette::Active, QPalette::ToolTipText},     // hint text
    {24, QPalette::Active, QPalette::ToolTipBase},     // hint background
};

} // namespace

QColor ColorToQColor(quint32 value, const QPalette &palette)
{
    if (value & kSystemColorFlag) {
        const quint8 index = quint8(value & 0xFF);
        for (const SystemColor &entry : kSystemColors) {
            if (entry.index == index)
                return palette.color(entry.group, entry.role);
        }
        return QColor(Qt::black);
    }
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

QColor ColorToQColor(quint32 value)
{
    const bool hasPalette = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return ColorToQColor(value, hasPalette ? QGuiApplication::palette() : QPalette());
}

} // namespace ruvo
