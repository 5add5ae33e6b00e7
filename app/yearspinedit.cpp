// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "yearspinedit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QToolButton>

namespace ruvo {

namespace {
constexpr int kButtonWidth = 15;
constexpr int kRepeatDelay = 400;    // ms before a held arrow repeats
constexpr int kRepeatInterval = 100; // ms between repeats
} // namespace

YearSpinEdit::YearSpinEdit(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(4);
    setTextMargins(0, 0, kButtonWidth, 0);
    for (auto [button, arrow, by] :
         {std::tuple{&m_up, Qt::UpArrow, 1}, std::tuple{&m_down, Qt::DownArrow, -1}}) {
        auto *b = new QToolButton(this);
        b->setArrowType(arrow);
        b->setFocusPolicy(Qt::NoFocus);
        b->setCursor(Qt::ArrowCursor);
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(kRepeatDelay);
        b->setAutoRepeatInterval(kRepeatInterval);
        // A held button repeats its released/clicked/pressed signals: stepping on pressed gives
        // one step at the press and one per repeat, none at the release.
        connect(b, &QToolButton::pressed, this, [this, by = by] { step(by); });
        *button = b;
    }
    connect(this, &QLineEdit::textChanged, this, &YearSpinEdit::changed);
}

int YearSpinEdit::value() const
{
    bool ok = false;
    const int v = text().toInt(&ok);
    return ok ? v : m_minimum;
}

void YearSpinEdit::setValue(int value)
{
    const QString held = QString::number(std::clamp(value, m_minimum, m_maximum));
    if (held == text())
        emit changed();
    else
        setText(held);
}

void YearSpinEdit::step(int by)
{
    setValue(value() + by);
}

void YearSpinEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        step(1);
        return;
    case Qt::Key_Down:
        step(-1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        QApplication::beep();
        return;
    default:
        break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint()) {
        const QChar c = typed.at(0);
        const bool accepted = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' ||
                              QLocale().decimalPoint() == QString(c);
        if (!accepted) {
            QApplication::beep();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void YearSpinEdit::focusOutEvent(QFocusEvent *event)
{
    const int v = value();
    if (v < m_minimum || v > m_maximum)
        setValue(v);
    QLineEdit::focusOutEvent(event);
}

void YearSpinEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    const int half = height() / 2;
    m_up->setGeometry(width() - kButtonWidth, 0, kButtonWidth, half);
    m_down->setGeometry(width() - kButtonWidth, half, kButtonWidth, height() - half);
}

} // namespace ruvo
