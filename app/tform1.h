#pragma once

#include "calendar/language.h"

#include <QMainWindow>
#include <QString>

#include <memory>

namespace Ui {
class TForm1;
}

namespace ruvo {

class HelpViewer;
class TCalendarPad;

// The main window: the calendar pad filling a fixed client area under the menu bar.
class TForm1 final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    TCalendarPad *CP() const;

    // The current directory at start-up followed by "/": the folder of the day files, the page
    // sound and the help document.
    QString StartDir() const { return m_startDir; }
    QString HelpFile() const { return m_helpFile; }

    // The help window, once "&Documentation" has opened it.
    HelpViewer *helpViewer() const { return m_helpViewer; }

    // Whether the window may close now: the page is saved first.
    bool FormCloseQuery();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void File1Click();
    void Documentation1Click();
    void Sitewebtlchargement1Click();
    void Autreslogiciels1Click();
    QString showDateDialog(TLanguage language, const QString &date, const QPoint &at);
    void reportError(const QString &message);

    std::unique_ptr<Ui::TForm1> m_ui;
    QString m_startDir;
    QString m_helpFile;
    HelpViewer *m_helpViewer = nullptr;
    bool m_shown = false;
};

} // namespace ruvo
