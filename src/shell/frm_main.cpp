#include "shell/frm_main.h"

#include "clocklink/clock_status.h"
#include "common/today.h"
#include "database/database_messages.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "shell/app_context.h"
#include "shell/frm_config.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTime>
#include <QTimer>

namespace {
struct MenuEntryDefinition {
    const char* caption; // empty for a separator
    const char* name;
    bool enabled;
};

struct MenuDefinition {
    const char* caption;
    const char* name;
    std::vector<MenuEntryDefinition> entries;
};

const std::vector<MenuDefinition>& menuTree()
{
    static const std::vector<MenuDefinition> tree = {
        {"&File",
         "mnuFileMenu",
         {{"Import DOS Files", "mnuImportDOS", true},
          {"Import Access Database...", "mnuImportAccess", true},
          {"", "hyphen6", true},
          {"E&xit", "exit", true}}},
        {"&Administration",
         "mnuAdministrationMenu",
         {{"&Club Data", "clubdata", true},
          {"&Flyer Data", "FlyerData", true},
          {"&Bird Inventory", "BirdList", true},
          {"&Liberation Data", "liberationdata", true}}},
        {"&Race Information",
         "mnuRaceInformationMenu",
         {{"Save Race Data for WinSpeed", "mnuWinSpeed", true},
          {"", "hyphen7", true},
          {"Corvex Race Data Reports", "mnuRaceReport", true},
          {"Save Race Data (\"CVX\" style)", "mnuDOSRaceData", true},
          {"Race Results...", "mnuRaceResults", true}}},
        {"&Options",
         "mnuOptionsMenu",
         {{"Configuration/&Set-Up", "configsetup", true},
          {"Compact Database", "mnuCompactDatabase", true},
          {"Repair Database", "mnuRepairDatabase", true},
          {"", "hyphen", false},
          {"Set CORVEX to PC Clock", "mnuSetClock", false},
          {"Firmware Update", "mnuUCUP", false}}},
        {"Help", "mnuHelpMenu", {{"&Help", "mnuHelp", true}}},
    };
    return tree;
}

QString longestStatusText()
{
    QString longest = statusTextForDigit({});
    for (char digit = '0'; digit <= '9'; ++digit) {
        const QString text = statusTextForDigit(QString(QLatin1Char(digit)));
        if (text.size() > longest.size())
            longest = text;
    }
    return longest;
}

const QString kProgramCaption = QStringLiteral("CORVEX");
const QString kMakerCaption = QStringLiteral("halvard electronic");
// The banner's colours, in a light and a dark variant after the palette's window colour.
bool darkPalette(const QWidget* widget)
{
    return widget->palette().color(QPalette::Window).lightness() < 128;
}
QColor bannerInk(const QWidget* widget)
{
    return darkPalette(widget) ? QColor(0xa8, 0xc4, 0xf0) : QColor(0x1f, 0x3a, 0x68);
}
} // namespace

BannerSizes bannerSizes(QSize window, QSize screen)
{
    const double scale =
        std::min(double(window.width()) / screen.width(), double(window.height()) / screen.height());
    return {72 * scale, 20 * scale, std::max(1, static_cast<int>(5 * scale))};
}

MainBanner::MainBanner(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMainBanner"));
    setAutoFillBackground(false);
}

void MainBanner::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    emit backgroundClicked();
}

void MainBanner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    const bool dark = darkPalette(this);
    gradient.setColorAt(0.0, dark ? QColor(0x33, 0x38, 0x42) : QColor(0xf7, 0xf9, 0xfc));
    gradient.setColorAt(1.0, dark ? QColor(0x22, 0x26, 0x2e) : QColor(0xdc, 0xe4, 0xf0));
    painter.fillRect(rect(), gradient);
}

frmMain::frmMain(AppContext& context, QWidget* parent) : QMainWindow(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kApplicationTitle);
    m_banner = new MainBanner(this);
    setCentralWidget(m_banner);

    lblProgram = new QLabel(m_banner);
    lblProgram->setObjectName(QStringLiteral("lblProgram"));
    lblCoName = new QLabel(m_banner);
    lblCoName->setObjectName(QStringLiteral("lblCoName"));
    Line1 = new QFrame(m_banner);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::NoFrame);
    Line1->setAutoFillBackground(true);
    QPalette rulePalette = Line1->palette();
    rulePalette.setColor(QPalette::Window, bannerInk(this));
    Line1->setPalette(rulePalette);
    for (QLabel* label : {lblProgram, lblCoName}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, bannerInk(this));
        label->setPalette(palette);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QFont programFont(QStringLiteral("DejaVu Serif"));
    programFont.setBold(true);
    lblProgram->setFont(programFont);
    QFont makerFont(QStringLiteral("DejaVu Sans"));
    makerFont.setItalic(true);
    lblCoName->setFont(makerFont);
    connect(m_banner, &MainBanner::backgroundClicked, this, &frmMain::backgroundClick);

    buildMenus();
    buildStatusBar();

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &frmMain::openHelp);

    // No smaller than the status bar needs to show every panel whole, with some banner above it.
    setMinimumSize(statusBar()->minimumSizeHint().width(), menuBar()->sizeHint().height() +
                                                               statusBar()->sizeHint().height() +
                                                               8 * fontMetrics().height());
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(QSize(available.width() * 3 / 4, available.height() * 3 / 4).expandedTo(minimumSize()));
    }
}

frmMain::~frmMain()
{
    if (m_context.mainWindow == this)
        m_context.mainWindow = nullptr;
}

void frmMain::buildMenus()
{
    for (const MenuDefinition& definition : menuTree()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(definition.caption));
        menu->setObjectName(QString::fromUtf8(definition.name));
        for (const MenuEntryDefinition& entry : definition.entries) {
            const QString name = QString::fromUtf8(entry.name);
            QAction* action = nullptr;
            if (*entry.caption == '\0') {
                action = menu->addSeparator();
                action->setObjectName(name);
            } else {
                action = addEntry(menu, QString::fromUtf8(entry.caption), name);
            }
            action->setEnabled(entry.enabled);
            m_entries.insert(name, action);
        }
    }
    setMenuAction(QStringLiteral("exit"), [this] { close(); });
    setMenuAction(QStringLiteral("mnuHelp"), [this] { openHelp(); });
}

QAction* frmMain::addEntry(QMenu* menu, const QString& caption, const QString& name)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, name] { runEntry(name); });
    return action;
}

QAction* frmMain::menuEntry(const QString& name) const
{
    return m_entries.value(name, nullptr);
}

void frmMain::setMenuAction(const QString& name, std::function<void()> action)
{
    m_actions.insert(name, std::move(action));
}

void frmMain::runEntry(const QString& name)
{
    const auto found = m_actions.constFind(name);
    if (found != m_actions.constEnd() && *found) {
        (*found)();
        return;
    }
    QAction* entry = menuEntry(name);
    m_context.dialogs.inform(QStringLiteral("\"%1\" is not available in this version.")
                                 .arg(entry ? entry->text().remove('&') : name),
                             QString(), Dialogs::Icon::Information);
}

void frmMain::disableDatabaseEntries()
{
    if (QMenu* administration = findChild<QMenu*>(QStringLiteral("mnuAdministrationMenu")))
        administration->menuAction()->setEnabled(false);
    // Importing an Access database writes into this program's database too.
    for (const char* name : {"mnuCompactDatabase", "mnuRepairDatabase", "mnuImportAccess"})
        if (QAction* entry = menuEntry(QString::fromLatin1(name)))
            entry->setEnabled(false);
}

void frmMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    const QString fixed[kPanelCount] = {
        kPanelRbmVersion, {}, kPanelRbmSerial, {}, kPanelPcfVersion, {}, kPanelPcfSerial, {}, {}, {}, {}};
    // The longest text each panel shows: a version, a serial number, a status, a time of day.
    const QString longest[kPanelCount] = {kPanelRbmVersion,
                                          QStringLiteral("00.00"),
                                          kPanelRbmSerial,
                                          QStringLiteral("00000"),
                                          kPanelPcfVersion,
                                          QStringLiteral("00.00"),
                                          kPanelPcfSerial,
                                          QStringLiteral("00000"),
                                          {},
                                          longestStatusText(),
                                          QLocale().toString(QTime(23, 59), QLocale::ShortFormat)};
    for (int i = 0; i < kPanelCount; ++i) {
        auto* panel = new QLabel(fixed[i], bar);
        panel->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        panel->setContentsMargins(4, 0, 4, 0);
        const bool caption = i == 0 || i == 2 || i == 4 || i == 6;
        if (!caption)
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 1 || i == 3 || i == 5 || i == 7) {
            QFont font = panel->font();
            font.setFamily(QStringLiteral("DejaVu Sans Mono"));
            panel->setFont(font);
        }
        // Wide enough for the longest text the panel shows.
        panel->setText(longest[i]);
        panel->setMinimumWidth(panel->minimumSizeHint().width());
        panel->setText(fixed[i]);
        // The empty ninth panel takes the spare width, so the status text and time sit at the right.
        bar->addWidget(panel, i == 8 ? 1 : 0);
        m_panels << panel;
    }
    m_panels[8]->setFrameStyle(QFrame::NoFrame);
    setStatusPanels(clockStatusTexts(m_context.clock.identity));

    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("StatusBar1_Clock"));
    connect(timer, &QTimer::timeout, this, &frmMain::updateTimePanel);
    timer->start(1000);
    updateTimePanel();
}

void frmMain::updateTimePanel()
{
    m_panels[10]->setText(QLocale().toString(Today::now().time(), QLocale::ShortFormat));
}

QLabel* frmMain::statusPanel(int number) const
{
    if (number < 1 || number > m_panels.size())
        return nullptr;
    return m_panels[number - 1];
}

void frmMain::setStatusPanels(const ClockStatusPanels& panels)
{
    m_panels[1]->setText(panels.rbmVersion);
    m_panels[3]->setText(panels.rbmSerial);
    m_panels[5]->setText(panels.pcfVersion);
    m_panels[7]->setText(panels.pcfSerial);
    m_panels[9]->setText(panels.status);
}

void frmMain::layoutBanner()
{
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    if (!screen)
        return;
    const BannerSizes sizes = bannerSizes(size(), screen->geometry().size());

    // Heights in the form's client area (below the menu bar, status bar included), as the banner's
    // coordinates start under the menu bar.
    const int clientHeight = height() - (menuBar()->isVisible() ? menuBar()->height() : 0);
    const int statusHeight = statusBar()->isVisible() ? statusBar()->height() : 0;
    const int ruleY = static_cast<int>(clientHeight / 2.0 - 1.5 * statusHeight);
    Line1->setGeometry(0, ruleY, width(), sizes.ruleThickness);

    // Tiny windows still get a real font rather than a zero size.
    const auto place = [this](QLabel* label, const QString& text, double pointSize, bool above, int rule) {
        label->setText(text);
        QFont font = label->font();
        font.setPointSizeF(std::max(1.0, pointSize));
        label->setFont(font);
        label->adjustSize();
        const double size = font.pointSizeF();
        const int left = static_cast<int>(width() - (1 + 1 / size) * label->width());
        const int top = above ? rule - label->height() : rule + label->height() / 2;
        label->move(left, top);
        label->show();
        label->repaint();
    };
    place(lblProgram, kProgramCaption.trimmed() + QLatin1Char(' '), sizes.programPoints, true, ruleY);
    place(lblCoName, kMakerCaption.trimmed() + QStringLiteral("   "), sizes.makerPoints, false, ruleY);
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layoutBanner();
}

void frmMain::backgroundClick()
{
    repaint();
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const int frameWidth = frameGeometry().width() - width();
    const int frameHeight = frameGeometry().height() - height();
    if (width() >= area.width() - frameWidth && height() >= area.height() - frameHeight)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
    Line1->setGeometry(0, Line1->y(), width(), Line1->height());
}

void frmMain::openHelp()
{
    if (m_context.helpFile.isEmpty()) {
        m_context.dialogs.inform(QStringLiteral("The help file cannot be found."), QString(),
                                 Dialogs::Icon::Exclamation);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(m_context.helpFile);
    if (!m_context.openUrl || !m_context.openUrl(url))
        m_context.dialogs.inform(
            QStringLiteral("The help file %1 cannot be opened: no web browser was found.")
                .arg(m_context.helpFile),
            QString(), Dialogs::Icon::Exclamation);
}

void frmMain::showGeneralError(const QString& description, int number)
{
    m_context.dialogs.inform(m_errors.next(description, number));
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Unload: the database handles go first, errors ignored; then every other window, and the run ends.
    m_context.database.close();
    m_context.closeWindows();
    if (m_context.configWindow && m_context.configWindow->isVisible())
        m_context.configWindow->close();
    m_context.progress.close();
    event->accept();
    QCoreApplication::quit();
}
