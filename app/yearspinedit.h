// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLineEdit>

class QToolButton;

namespace ruvo {

// A year field with up and down arrows. Unlike a spin box it lets every intermediate text
// through while the user types (typing 2026 passes 2, 20 and 202); the range applies when
// a value is set, stepped, or the field is left.
class YearSpinEdit final : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(YearSpinEdit)
    Q_PROPERTY(int value READ value WRITE setValue)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)

public:
    // The years the date dialog offers.
    static constexpr int kFirstYear = 1981;
    static constexpr int kLastYear = 2099;

    explicit YearSpinEdit(QWidget *parent = nullptr);

    // The text as a whole number; a text that is not one counts as the minimum.
    int value() const;
    // Writes the value held to the range; always reports a change, even of the same text.
    void setValue(int value);

    int minimum() const { return m_minimum; }
    void setMinimum(int minimum) { m_minimum = minimum; }
    int maximum() const { return m_maximum; }
    void setMaximum(int maximum) { m_maximum = maximum; }

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

signals:
    // Every change of the text, typed or set.
    void changed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void step(int by);

    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    int m_minimum = kFirstYear;
    int m_maximum = kLastYear;
};

} // namespace ruvo
