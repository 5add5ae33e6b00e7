#include "tform1.h"

#include "ruvoapplication.h"
#include "tperpetualcalendardlg.h"
#include "ui_tform1.h"

#include "calendar/dateformat.h"
#include "calendar/datetext.h"
#include "calendar/error.h"
#include "pad/tcalendarpad.h"
#include "platform/colorvalue.h"
#include "platform/helpviewer.h"
#include "platform/settingsfile.h"
#include "platform/shellopen.h"
#include "widgets/tapropos.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QLayout>
#include <QShowEvent>

namespace ruvo {

namespace {
constexpr quint32 kSilver = 0xC0C0C0;
const QString kSettingsSection = QStringLiteral("Propriétés");
const QString kAproposKey = QStringLiteral("apropos");
} // namespace

TForm1::TForm1(QWidget *parent, const QString &settingsPath)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TForm1>()),
      m_settingsPath(settingsPath.isEmpty() ? SettingsFile::defaultPath() : settingsPath)
{
    m_ui->setupUi(this);
    FormCreate();
}

TForm1::~TForm1() = default;

Tapropos *TForm1::apropos()
{
    if (!m_apropos) {
        m_apropos = new Tapropos(this);
        m_apropos->afficher()->setChecked(m_aproposTicked);
    }
    return m_apropos;
}

TCalendarPad *TForm1::CP() const
{
    return m_ui->CP;
}

void TForm1::FormCreate()
{
    setShortDateFormat(QStringLiteral("dd/mm/yyyy"));
    setLongDateFormat(QStringLiteral("dd/mm/yyyy"));

    // Minimise and close only: the page has one size and the window follows it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // The pad covers the whole client area, so nothing under it is ever erased.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorToQColor(kSilver));
    setPalette(palette);
    centralWidget()->setAttribute(Qt::WA_NoSystemBackground);

    // Added even when the directory already ends with one (the root gives "//"): the day
    // files and the sound are found all the same.
    m_startDir = QDir::currentPath() + u'/';
    CP()->setDirectory(m_startDir);
    m_helpFile = m_startDir + QStringLiteral("DOCFR.HLP");
    CP()->setSoundFileName(m_startDir + QStringLiteral("paper.wav"));

    connect(CP(), &TCalendarPad::errorRaised, this, &TForm1::reportError);
    CP()->setDateDialog([this](TLanguage language, const QString &date, const QPoint &at) {
        return showDateDialog(language, date, at);
    });

    connect(m_ui->File1, &QAction::triggered, this, &TForm1::File1Click);
    connect(m_ui->Documentation1, &QAction::triggered, this, &TForm1::Documentation1Click);
    connect(m_ui->Sitewebtlchargement1, &QAction::triggered, this,
            &TForm1::Sitewebtlchargement1Click);
    connect(m_ui->Autreslogiciels1, &QAction::triggered, this, &TForm1::Autreslogiciels1Click);
    connect(m_ui->Apropos1, &QAction::triggered, this, &TForm1::Apropos1Click);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        FormShow();
    }
}

void TForm1::File1Click()
{
    close();
}

void TForm1::Documentation1Click()
{
    if (!m_helpViewer)
        m_helpViewer = new HelpViewer(this);
    m_helpViewer->showTopic(m_helpFile, 1);
}

void TForm1::Sitewebtlchargement1Click()
{
    VisitWebSite(this);
}

void TForm1::Autreslogiciels1Click()
{
    StartProgram(m_startDir + QStringLiteral("tandrel.exe"), m_startDir);
}

void TForm1::Apropos1Click()
{
    apropos()->exec();
}

bool TForm1::aproposTicked() const
{
    return m_apropos ? m_apropos->afficher()->isChecked() : m_aproposTicked;
}

void TForm1::ReadSettings()
{
    m_aproposTicked = SettingsFile(m_settingsPath).readBool(kSettingsSection, kAproposKey, false);
    if (m_apropos)
        m_apropos->afficher()->setChecked(m_aproposTicked);
}

void TForm1::WriteSettings()
{
    SettingsFile(m_settingsPath).writeBool(kSettingsSection, kAproposKey, aproposTicked());
}

void TForm1::FormShow()
{
    ReadSettings();
    // Old day files are deleted once the page is on the screen: a purge of a full year of them
    // takes longer than drawing the page, and it never touches the day on show.
    m_purgePending = true;
    CP()->installEventFilter(this);
    CP()->setDate(DateToText(QDate::currentDate()));
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (m_purgePending && watched == CP() && event->type() == QEvent::Paint) {
        m_purgePending = false;
        CP()->removeEventFilter(this);
        QMetaObject::invokeMethod(CP(), "PurgeNotes", Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::FormCloseQuery()
{
    // A failed save or settings write keeps the window open: the text stays on the page.
    try {
        CP()->SaveNotes();
    } catch (const Error &e) {
        reportError(e.message());
        return false;
    }
    if (!m_closingForSession && !aproposTicked())
        apropos()->exec();
    try {
        WriteSettings();
    } catch (const Error &e) {
        // When the session ends, the saved page is what matters: a settings file that cannot
        // be written, and so is left as it was, does not hold the program back.
        if (m_closingForSession) {
            qWarning("%s", qPrintable(e.message()));
            return true;
        }
        reportError(e.message());
        return false;
    }
    return true;
}

void TForm1::quitForSession()
{
    m_closingForSession = true;
    const bool closed = close();
    m_closingForSession = false;
    if (closed)
        QCoreApplication::quit();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

QString TForm1::showDateDialog(TLanguage language, const QString &date, const QPoint &at)
{
    // Owned by the application, not the window, and placed where the pointer is.
    TPerpetualCalendarDlg dialog;
    dialog.setDialogLanguage(language);
    dialog.move(at);
    dialog.setDateText(date);
    dialog.exec();
    return dialog.DateText();
}

void TForm1::reportError(const QString &message)
{
    if (auto *app = qobject_cast<RuvoApplication *>(QCoreApplication::instance()))
        app->showError(message);
}

} // namespace ruvo
