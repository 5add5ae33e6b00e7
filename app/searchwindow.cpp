// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "searchwindow.h"

#include "app/searchresultdelegate.h"
#include "app/searchresultsmodel.h"
#include "notes/dayfiles.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

namespace ruvo {

namespace {
constexpr QSize kStartSize(340, 260); // about the page's size, over it
} // namespace

SearchWindow::SearchWindow(QWidget *parent)
    : QDialog(parent), m_field(new QLineEdit(this)), m_results(new QListView(this)),
      m_status(new QLabel(this)), m_model(new SearchResultsModel(this)),
      m_search(new NotesSearch(this))
{
    // A tool window: it stays over the page and leaves the page usable.
    setWindowFlag(Qt::Tool);
    setModal(false);
    resize(kStartSize);

    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    m_results->setModel(m_model);
    m_results->setItemDelegate(new SearchResultDelegate(m_results));
    m_results->setUniformItemSizes(true);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    m_results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setWordWrap(true); // a folder's path may be wider than the window
    m_status->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_field);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_status);

    connect(m_field, &QLineEdit::textChanged, this, &SearchWindow::search);
    connect(m_field, &QLineEdit::returnPressed, this, &SearchWindow::chooseFromField);
    connect(m_results, &QListView::activated, this, &SearchWindow::choose);
    connect(m_search, &NotesSearch::hitsFound, this, &SearchWindow::takeHits);
    connect(m_search, &NotesSearch::finished, this, &SearchWindow::searchFinished);
    setLanguage(m_language);
}

void SearchWindow::setFolder(const QString &folder, const QString &extension)
{
    m_folder = folder;
    m_extension = extension;
    if (isVisible())
        search();
}

void SearchWindow::setLanguage(TLanguage language)
{
    m_language = language;
    const PadCommandWords words = PadCommandWordsOf(language);
    setWindowTitle(words.searchTitle);
    m_field->setPlaceholderText(words.searchPlaceholder);
    m_field->setAccessibleName(words.searchPlaceholder);
    m_results->setAccessibleName(words.searchTitle);
    m_model->setLanguage(language);
    if (m_status->isVisible())
        searchFinished(); // in the new language
}

void SearchWindow::setStartTime(int hour)
{
    m_model->setStartTime(hour);
}

void SearchWindow::setToday(const QDate &today)
{
    m_today = today;
    if (isVisible())
        search();
}

void SearchWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_field->setFocus();
    m_field->selectAll();
    // The files may have changed while the window was closed.
    search();
}

void SearchWindow::hideEvent(QHideEvent *event)
{
    m_search->cancel();
    m_search->forgetListing();
    QDialog::hideEvent(event);
}

bool SearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(m_results, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SearchWindow::search()
{
    m_status->hide();
    m_model->clear();
    const QDate today = m_today.isValid() ? m_today : QDate::currentDate();
    // Until the query is long enough to search, the folder is listed for the search to come.
    if (!m_search->start(m_folder, m_extension, m_field->text(), today))
        m_search->prepare(m_folder, m_extension, today);
}

void SearchWindow::takeHits(const QList<SearchHit> &hits)
{
    const bool first = m_model->rowCount() == 0;
    m_model->append(hits);
    if (first)
        m_results->setCurrentIndex(m_model->index(0));
}

void SearchWindow::searchFinished()
{
    // Under the results: no match, and the files the search could not look into.
    QStringList lines;
    if (m_model->rowCount() == 0)
        lines << PadCommandWordsOf(m_language).noMatch;
    if (!m_search->unreadable().isEmpty())
        lines << CannotOpenFiles(m_search->unreadable()).message();
    m_status->setText(lines.join(u'\n'));
    m_status->setVisible(!lines.isEmpty());
}

void SearchWindow::choose(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const SearchHit &hit = m_model->hit(index.row());
    emit resultChosen(hit.date, hit.kind, hit.line, hit.column, hit.length);
}

void SearchWindow::chooseFromField()
{
    choose(m_results->currentIndex());
}

} // namespace ruvo
