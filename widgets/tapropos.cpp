// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tapropos.h"

#include "ui_tapropos.h"

#include "platform/cursortable.h"
#include "platform/pointfont.h"
#include "platform/programlinks.h"
#include "platform/shellopen.h"

#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace ruvo {

namespace {

QFont comic(int points, bool bold = false)
{
    return PointFont({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue")}, points, bold);
}

// The name and the credit line are shorter than the boxes they were laid out in, which share
// the window's vertical axis. Fitted to their captions now rather than at their first paint,
// they keep that axis instead of hanging off to the left.
void fitOnAxis(TSpecialLabel *label, int axis)
{
    const QFontMetrics metrics(label->font());
    const int relief = (label->RaisedTop() ? label->RaisedTopDistance() : 0) +
                       (label->RaisedBottom() ? label->RaisedBottomDistance() : 0);
    const int width = metrics.horizontalAdvance(label->Caption()) + relief;
    label->setGeometry(axis - width / 2, label->y(), width, metrics.height() + relief);
}

// The credit is one line by design: with no-break spaces it cannot wrap, even where the
// fitted width comes out a fraction of a pixel short of the text's.
void keepOnOneLine(ReliefLabel *label)
{
    QString caption = label->Caption();
    label->setCaption(caption.replace(u' ', QChar::Nbsp));
}

} // namespace

Tapropos::Tapropos(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::Tapropos>())
{
    m_ui->setupUi(this);
    FormCreate();
}

Tapropos::~Tapropos() = default;

QCheckBox *Tapropos::afficher() const
{
    return m_ui->afficher;
}

void Tapropos::FormCreate()
{
    // A title bar and nothing else: the picture at the bottom closes the box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Nothing in the box follows a resize, so the frame is fixed.
    setFixedSize(size());

    QPalette colors = palette();
    colors.setColor(QPalette::Window, Qt::white);
    colors.setColor(QPalette::WindowText, Qt::black);
    setPalette(colors);
    QFont windowFont = font();
    windowFont.setPixelSize(PointsToPixels(8));
    setFont(windowFont);

    m_ui->MagicLabel2->setFont(ArialFont(10, true));
    m_ui->MagicLabel1->setFont(comic(12));
    m_ui->MagicLabel3->setFont(comic(12));
    m_ui->MagicLabel4->setFont(ArialFont(12, true));
    m_ui->MagicLabel5->setFont(ArialFont(10));
    m_ui->SpecialLabel2->setFont(ArialFont(8));
    m_ui->SpecialLabel1->setFont(comic(36, true));

    m_ui->MagicLabel4->setCaption(QString::fromLatin1(kContactAddress));
    keepOnOneLine(m_ui->SpecialLabel2);
    const int axis = width() / 2;
    fitOnAxis(m_ui->SpecialLabel1, axis);
    fitOnAxis(m_ui->SpecialLabel2, axis);

    // The window font is wider than the one the box was laid out for: the check box grows to
    // show its whole text rather than cut it.
    afficher()->resize(std::max(afficher()->width(), afficher()->sizeHint().width()),
                       afficher()->height());

    m_ui->BmpAnime2->loadFrames(
        TBmpAnime::numberedFiles(QStringLiteral(":/about/anim2/IMAGE%1.BMP"), 1, 12));
    m_ui->BmpAnime17->loadFrames(
        TBmpAnime::numberedFiles(QStringLiteral(":/about/anim17/IMAGE%1.BMP"), 1, 36));

    const QCursor hand = CursorByNumber(crTopHand);
    for (QWidget *link :
         {static_cast<QWidget *>(m_ui->MagicLabel1), static_cast<QWidget *>(m_ui->MagicLabel3),
          static_cast<QWidget *>(m_ui->BmpAnime2), static_cast<QWidget *>(m_ui->BmpAnime17),
          static_cast<QWidget *>(m_ui->tf2)})
        link->setCursor(hand);

    connect(m_ui->MagicLabel1, &TMagicLabel::clicked, this, &Tapropos::BmpAnime2Click);
    connect(m_ui->BmpAnime2, &TBmpAnime::clicked, this, &Tapropos::BmpAnime2Click);
    connect(m_ui->MagicLabel3, &TMagicLabel::clicked, this, &Tapropos::BmpAnime17Click);
    connect(m_ui->BmpAnime17, &TBmpAnime::clicked, this, &Tapropos::BmpAnime17Click);
    m_ui->tf2->installEventFilter(this);
}

void Tapropos::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        centreOnScreen();
    QDialog::showEvent(event);
}

// In the middle of the screen, wherever the main window happens to be.
void Tapropos::centreOnScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

bool Tapropos::eventFilter(QObject *watched, QEvent *event)
{
    // The picture is a plain label: a click is a left press and a release over it.
    if (watched == m_ui->tf2) {
        if (event->type() == QEvent::MouseButtonPress)
            m_tf2Click.press(static_cast<QMouseEvent *>(event));
        else if (event->type() == QEvent::MouseButtonRelease &&
                 m_tf2Click.release(static_cast<QMouseEvent *>(event), m_ui->tf2->rect()))
            tf2Click();
    }
    return QDialog::eventFilter(watched, event);
}

void Tapropos::BmpAnime2Click()
{
    VisitWebSite(this);
}

void Tapropos::BmpAnime17Click()
{
    // Where the menu looks for the sibling program too: the folder the program started in.
    StartSiblingProgram(QDir::currentPath());
}

void Tapropos::tf2Click()
{
    // Hidden, not destroyed: the box is shown again from the menu and at the end.
    reject();
}

} // namespace ruvo
