// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>

namespace ruvo {

// The picture under the page: the one the window gave, or the built-in page. The built-in
// page is decoded when first needed, so a window that gives its own picture right away never
// pays for it.
class PageBackground final
{
public:
    // The picture as given; the built-in page while none was.
    QImage picture() const;
    // Copies the picture; an empty one is replaced by the built-in page at the next ensure().
    void set(const QImage &picture);
    void ensure();
    // The same picture in the format drawn fastest; null for none.
    const QImage &forDrawing() const { return m_forDrawing; }
    void clear();

private:
    void take(const QImage &picture) const;
    void loadPending() const;

    mutable bool m_builtInPending = true;
    mutable QImage m_picture;
    mutable QImage m_forDrawing;
};

} // namespace ruvo
