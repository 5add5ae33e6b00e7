// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "clicktracker.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include "platform/colorvalue.h"

class QPainter;

namespace ruvo {

// Text drawn in relief: a highlight copy shifted up and left, a shadow copy shifted down and
// right, the face on top. A timer can switch the label between its normal look and a blink look
// with other colours or no text. TMagicLabel and TSpecialLabel share everything here and differ
// only in where the drawn text comes from and in sizing.
class ReliefLabel : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReliefLabel)
    Q_PROPERTY(bool Blink READ Blink WRITE setBlink)
    Q_PROPERTY(quint32 BlinkColor READ BlinkColor WRITE setBlinkColor)
    Q_PROPERTY(quint32 BlinkTopColor READ BlinkTopColor WRITE setBlinkTopColor)
    Q_PROPERTY(quint32 BlinkBottomColor READ BlinkBottomColor WRITE setBlinkBottomColor)
    Q_PROPERTY(bool BlinkTransparent READ BlinkTransparent WRITE setBlinkTransparent)
    Q_PROPERTY(bool RaisedTop READ RaisedTop WRITE setRaisedTop)
    Q_PROPERTY(bool RaisedBottom READ RaisedBottom WRITE setRaisedBottom)
    Q_PROPERTY(quint32 RaisedTopColor READ RaisedTopColor WRITE setRaisedTopColor)
    Q_PROPERTY(quint32 RaisedBottomColor READ RaisedBottomColor WRITE setRaisedBottomColor)
    Q_PROPERTY(int RaisedTopDistance READ RaisedTopDistance WRITE setRaisedTopDistance)
    Q_PROPERTY(int RaisedBottomDistance READ RaisedBottomDistance WRITE setRaisedBottomDistance)
    Q_PROPERTY(Qt::Alignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 Color READ Color WRITE setColor)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE setParentFont)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)

public:
    ~ReliefLabel() override;

    // Reading Blink also brings the normal look back, without redrawing.
    bool Blink();
    void setBlink(bool blink);

    quint32 BlinkColor() const { return m_blinkColor; }
    void setBlinkColor(quint32 color);
    quint32 BlinkTopColor() const { return m_blinkTopColor; }
    void setBlinkTopColor(quint32 color);
    quint32 BlinkBottomColor() const { return m_blinkBottomColor; }
    void setBlinkBottomColor(quint32 color);
    bool BlinkTransparent() const { return m_blinkTransparent; }
    void setBlinkTransparent(bool transparent);

    bool RaisedTop() const { return m_raisedTop; }
    void setRaisedTop(bool raised);
    bool RaisedBottom() const { return m_raisedBottom; }
    void setRaisedBottom(bool raised);
    quint32 RaisedTopColor() const { return m_raisedTopColor; }
    void setRaisedTopColor(quint32 color);
    quint32 RaisedBottomColor() const { return m_raisedBottomColor; }
    void setRaisedBottomColor(quint32 color);
    int RaisedTopDistance() const { return m_raisedTopDistance; }
    void setRaisedTopDistance(int distance);
    int RaisedBottomDistance() const { return m_raisedBottomDistance; }
    void setRaisedBottomDistance(int distance);

    Qt::Alignment Alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // Background colour; setting it stops following the parent's colour.
    quint32 Color() const { return m_color; }
    void setColor(quint32 color);
    // Face colour of the normal look.
    quint32 FontColor() const { return m_fontColor; }
    void setFontColor(quint32 color);
    bool ParentColor() const { return m_parentColor; }
    void setParentColor(bool parentColor);
    bool ParentFont() const;
    void setParentFont(bool parentFont);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool show);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    // Kept for the stored forms; the text always breaks between words.
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wordWrap);

signals:
    void clicked();
    void doubleClicked();

protected:
    explicit ReliefLabel(QWidget *parent);

    // The three colours and the text of one paint.
    struct Look
    {
        quint32 face;
        quint32 top;
        quint32 bottom;
        QString text;
    };

    // Picks the look of this paint and brings the class's text state up to date.
    virtual Look chooseLook() = 0;

    Look normalLook(const QString &text) const;
    Look blinkLook(const QString &text) const;
    bool blinkPhase() const { return m_blinkPhase; }
    // The highlight and shadow offsets in use: 0 for a copy that is switched off.
    int topOffset() const;
    int bottomOffset() const;

    int blinkInterval() const { return m_blinkInterval; }
    void setBlinkInterval(int milliseconds);

    // The caption as the paint routine sees it, without asking for another paint.
    void setCaptionQuietly(const QString &caption) { m_caption = caption; }
    const QString &savedText() const { return m_savedText; }
    void setSavedText(const QString &text) { m_savedText = text; }

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void drawBackground(QPainter &painter) const;
    void drawRelief(QPainter &painter, const Look &look) const;
    void drawTextPass(QPainter &painter, const QRect &rect, quint32 color,
                      const QString &text) const;
    void toggleBlinkPhase();
    void updateTimer();

    QTimer m_blinkTimer{this};
    QString m_caption;
    QString m_savedText;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    int m_blinkInterval = 50;
    int m_raisedTopDistance = 1;
    int m_raisedBottomDistance = 1;
    quint32 m_blinkColor = clRed;
    quint32 m_blinkTopColor = clWhite;
    quint32 m_blinkBottomColor = clGray;
    quint32 m_raisedTopColor = clWhite;
    quint32 m_raisedBottomColor = clGray;
    quint32 m_color = clBtnFace;
    quint32 m_fontColor = clSilver;
    bool m_blink = false;
    bool m_blinkPhase = false;
    bool m_blinkTransparent = true;
    bool m_raisedTop = true;
    bool m_raisedBottom = true;
    bool m_parentColor = true;
    bool m_showAccelChar = true;
    bool m_transparent = false;
    bool m_wordWrap = false;
    ClickTracker m_click;
};

} // namespace ruvo
