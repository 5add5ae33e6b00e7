// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "clicktracker.h"

#include <QDialog>

#include <memory>

class QCheckBox;

namespace Ui {
class Tapropos;
}

namespace ruvo {

// The about box: the program's name, the freeware notice, the way to the maker's web page and
// the check box "Ne plus afficher cette fenêtre.". Made once, hidden, and reused: every showing
// is modal and ends, with Rejected, through the red picture at the bottom (or Escape). Its
// animations run from creation on, shown or not.
class Tapropos final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tapropos)

public:
    explicit Tapropos(QWidget *parent = nullptr);
    ~Tapropos() override;

    // Ticked: the user does not want the box at the program's end. The main window loads and
    // stores its state.
    QCheckBox *afficher() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void BmpAnime2Click();
    void BmpAnime17Click();
    void tf2Click();
    void centreOnScreen();

    std::unique_ptr<Ui::Tapropos> m_ui;
    ClickTracker m_tf2Click;
};

} // namespace ruvo
