// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendar/language.h"
#include "notes/notessearch.h"

#include <QDate>
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QListView;

namespace ruvo {

class SearchResultsModel;

// A small window over the page that finds a text in the notes and hour entries of every day.
// The results follow the typing; choosing one (Enter in the field or on a result, or a
// double-click) reports where it lies, and the window stays open for the next. Escape closes it.
class SearchWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchWindow)

public:
    explicit SearchWindow(QWidget *parent = nullptr);

    // Where the day files are; a search under way starts again there.
    void setFolder(const QString &folder, const QString &extension);
    // The page's language: the caption, the field's words and the dates of the results.
    void setLanguage(TLanguage language);
    // The page's first hour, which names the hour entries.
    void setStartTime(int hour);
    // The day that dates the files (a file's name has no century); by default the current date
    // at each search.
    void setToday(const QDate &today);

    QLineEdit *field() const { return m_field; }
    QListView *results() const { return m_results; }
    // Shows, once a search has finished, the language's "no match" when it found no hit, and
    // the day files it could not read ("Ne peut ouvrir le fichier <path>").
    QLabel *status() const { return m_status; }

signals:
    void resultChosen(const QDate &date, ruvo::DayFileKind kind, int line, int column, int length);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // The arrow and page keys in the field move through the results.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search();
    void takeHits(const QList<SearchHit> &hits);
    void searchFinished();
    void choose(const QModelIndex &index);
    void chooseFromField();

    QLineEdit *m_field = nullptr;
    QListView *m_results = nullptr;
    QLabel *m_status = nullptr;
    SearchResultsModel *m_model = nullptr;
    NotesSearch *m_search = nullptr;
    QString m_folder;
    QString m_extension = QStringLiteral("ruv");
    QDate m_today;
    TLanguage m_language = laDefault;
};

} // namespace ruvo
