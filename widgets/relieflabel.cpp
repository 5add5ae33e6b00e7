// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "relieflabel.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace ruvo {

namespace {

// Only so many characters of a caption are ever drawn.
constexpr qsizetype kMaxDrawnLength = 255;

// Offsets are clamped far beyond any label's size, so rectangle arithmetic cannot overflow.
constexpr int kMaxOffset = 1 << 20;

int textFlags(Qt::Alignment alignment, bool showAccelChar)
{
    int flags = Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
    if (alignment & Qt::AlignRight)
        flags |= Qt::AlignRight;
    else if (alignment & Qt::AlignHCenter)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    if (showAccelChar)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

} // namespace

ReliefLabel::ReliefLabel(QWidget *parent) : QWidget(parent)
{
    m_blinkTimer.setObjectName(QStringLiteral("BlinkTimer"));
    m_blinkTimer.setInterval(m_blinkInterval);
    connect(&m_blinkTimer, &QTimer::timeout, this, &ReliefLabel::toggleBlinkPhase);
}

ReliefLabel::~ReliefLabel() = default;

bool ReliefLabel::Blink()
{
    m_blinkPhase = false;
    return m_blink;
}

void ReliefLabel::setBlink(bool blink)
{
    m_blink = blink;
    m_blinkPhase = false;
    updateTimer();
    repaint();
}

void ReliefLabel::setBlinkColor(quint32 color)
{
    m_blinkColor = color;
}

void ReliefLabel::setBlinkTopColor(quint32 color)
{
    m_blinkTopColor = color;
}

void ReliefLabel::setBlinkBottomColor(quint32 color)
{
    m_blinkBottomColor = color;
}

void ReliefLabel::setBlinkTransparent(bool transparent)
{
    m_blinkTransparent = transparent;
}

void ReliefLabel::setRaisedTop(bool raised)
{
    m_raisedTop = raised;
    repaint();
}

void ReliefLabel::setRaisedBottom(bool raised)
{
    m_raisedBottom = raised;
    repaint();
}

void ReliefLabel::setRaisedTopColor(quint32 color)
{
    m_raisedTopColor = color;
    repaint();
}

void ReliefLabel::setRaisedBottomColor(quint32 color)
{
    m_raisedBottomColor = color;
    repaint();
}

void ReliefLabel::setRaisedTopDistance(int distance)
{
    m_raisedTopDistance = distance;
    repaint();
}

void ReliefLabel::setRaisedBottomDistance(int distance)
{
    m_raisedBottomDistance = distance;
    repaint();
}

void ReliefLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void ReliefLabel::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void ReliefLabel::setColor(quint32 color)
{
    m_color = color;
    m_parentColor = false;
    update();
}

void ReliefLabel::setFontColor(quint32 color)
{
    m_fontColor = color;
    update();
}

void ReliefLabel::setParentColor(bool parentColor)
{
    m_parentColor = parentColor;
    update();
}

bool ReliefLabel::ParentFont() const
{
    return !testAttribute(Qt::WA_SetFont);
}

void ReliefLabel::setParentFont(bool parentFont)
{
    if (parentFont) {
        setFont(QFont()); // a font that resolves nothing lets the parent's font through
        return;
    }
    QFont own = font();
    own.setResolveMask(QFont::AllPropertiesResolved);
    setFont(own);
}

void ReliefLabel::setShowAccelChar(bool show)
{
    m_showAccelChar = show;
    update();
}

void ReliefLabel::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void ReliefLabel::setWordWrap(bool wordWrap)
{
    m_wordWrap = wordWrap;
    update();
}

ReliefLabel::Look ReliefLabel::normalLook(const QString &text) const
{
    return {m_fontColor, m_raisedTopColor, m_raisedBottomColor, text};
}

ReliefLabel::Look ReliefLabel::blinkLook(const QString &text) const
{
    return {m_blinkColor, m_blinkTopColor, m_blinkBottomColor, text};
}

int ReliefLabel::topOffset() const
{
    return m_raisedTop ? std::clamp(m_raisedTopDistance, -kMaxOffset, kMaxOffset) : 0;
}

int ReliefLabel::bottomOffset() const
{
    return m_raisedBottom ? std::clamp(m_raisedBottomDistance, -kMaxOffset, kMaxOffset) : 0;
}

void ReliefLabel::setBlinkInterval(int milliseconds)
{
    m_blinkInterval = milliseconds;
    updateTimer();
}

void ReliefLabel::paintEvent(QPaintEvent *)
{
    const Look look = chooseLook();
    QPainter painter(this);
    drawBackground(painter);
    drawRelief(painter, look);
}

void ReliefLabel::drawBackground(QPainter &painter) const
{
    if (m_transparent)
        return;
    painter.fillRect(rect(), m_parentColor ? palette().color(QPalette::Window)
                                           : ColorToQColor(m_color, palette()));
}

void ReliefLabel::drawRelief(QPainter &painter, const Look &look) const
{
    if (look.text.isEmpty())
        return;
    const int t = topOffset();
    const int b = bottomOffset();
    // All three copies share one size and sit at offsets 0, t and t + b.
    const QSize size(width() - t - b, height() - t - b);
    if (m_raisedBottom)
        drawTextPass(painter, QRect(QPoint(t + b, t + b), size), look.bottom, look.text);
    if (m_raisedTop)
        drawTextPass(painter, QRect(QPoint(0, 0), size), look.top, look.text);
    drawTextPass(painter, QRect(QPoint(t, t), size), look.face, look.text);
}

void ReliefLabel::drawTextPass(QPainter &painter, const QRect &rect, quint32 color,
                               const QString &text) const
{
    if (rect.isEmpty())
        return;
    QString drawn = text.left(kMaxDrawnLength);
    if (drawn.contains(u'\r'))
        drawn.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    painter.setPen(ColorToQColor(isEnabled() ? color : clGrayText, palette()));
    painter.drawText(rect, textFlags(m_alignment, m_showAccelChar), drawn); // clipped to rect
}

void ReliefLabel::toggleBlinkPhase()
{
    m_blinkPhase = !m_blinkPhase;
    repaint();
}

void ReliefLabel::updateTimer()
{
    // A zero or negative interval never ticks: the label keeps its normal look.
    if (m_blink && m_blinkInterval > 0)
        m_blinkTimer.start(m_blinkInterval);
    else
        m_blinkTimer.stop();
}

void ReliefLabel::mousePressEvent(QMouseEvent *event)
{
    m_click.press(event);
    QWidget::mousePressEvent(event);
}

void ReliefLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_click.release(event, rect());
    QWidget::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

void ReliefLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

} // namespace ruvo
