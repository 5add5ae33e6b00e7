// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProxyStyle>

namespace ruvo {

// The desktop's style, except that the menu bar's overflow arrow is looked up only when it is
// drawn. A menu bar asks for that icon when it is built, and reading the style's picture makes
// Qt load every image format plugin (and libjpeg) before the first paint, for an arrow that a
// page's menu bar never shows.
class LazyIconStyle final : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LazyIconStyle)

public:
    LazyIconStyle();

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};

} // namespace ruvo
