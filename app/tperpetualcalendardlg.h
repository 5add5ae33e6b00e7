// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/language.h"

#include <QDialog>
#include <QString>

#include <memory>

class QComboBox;
class QPushButton;

namespace Ui {
class TPerpetualCalendarDlg;
}

namespace ruvo {

class MonthGrid;
class YearSpinEdit;

// Picks a date of the years 1981 to 2099 from a month grid. Given a language and a date text
// before it is shown; after OK, DateText holds the chosen date, after cancel the date given.
class TPerpetualCalendarDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPerpetualCalendarDlg)
    Q_PROPERTY(ruvo::TLanguage DialogLanguage READ DialogLanguage WRITE setDialogLanguage)
    Q_PROPERTY(QString DateText READ DateText WRITE setDateText)

public:
    explicit TPerpetualCalendarDlg(QWidget *parent = nullptr);
    ~TPerpetualCalendarDlg() override;

    TLanguage DialogLanguage() const { return m_dialogLanguage; }
    void setDialogLanguage(TLanguage language) { m_dialogLanguage = language; }
    QString DateText() const { return m_dateText; }
    void setDateText(const QString &text) { m_dateText = text; }

    // The folder of the day files, whose days with notes the month grid marks; none: no marks.
    void setNotesFolder(const QString &folder, const QString &extension);

    // The controls, by their names in the window description.
    MonthGrid *Calendar() const;
    QComboBox *Month() const;
    YearSpinEdit *Year() const;
    QPushButton *BitBtn1() const;
    QPushButton *BitBtn2() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void MonthChange();
    void YearChange();
    void BitBtn1Click();
    void BitBtn2Click();
    void markDaysWithNotes();

    std::unique_ptr<Ui::TPerpetualCalendarDlg> m_ui;
    TLanguage m_dialogLanguage = laDefault;
    QString m_dateText;
    QString m_notesFolder;
    QString m_notesExtension;
    int m_markedYear = 0;
    int m_markedMonth = 0;
};

} // namespace ruvo
