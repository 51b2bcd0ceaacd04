#pragma once

#include "database/database_messages.h"

#include <QHash>
#include <QMainWindow>
#include <QSize>
#include <functional>

class AppContext;
class QAction;
class QFrame;
class QLabel;
class QMenu;
struct ClockStatusPanels;

// The banner's sizes for a window on a screen: scale = the smaller of the width and height ratios; the
// name at 72 x scale points, the maker at 20 x scale, the rule 5 x scale pixels thick but at least 1.
struct BannerSizes {
    double programPoints;
    double makerPoints;
    int ruleThickness;
};
BannerSizes bannerSizes(QSize window, QSize screen);

// The banner area: the program name standing on a rule, the maker's name under it.
class MainBanner : public QWidget {
    Q_OBJECT
public:
    explicit MainBanner(QWidget* parent = nullptr);

signals:
    void backgroundClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// The main window: banner, menus and the status bar with the clock's identity. It ends the run when it
// closes.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(AppContext& context, QWidget* parent = nullptr);
    ~frmMain() override;

    static constexpr int kPanelCount = 11;

    // The menu entry by its control name (clubdata, mnuWinSpeed, ...), or null.
    QAction* menuEntry(const QString& name) const;
    // Wires a menu entry to its action; entries without one say that the function is not available.
    void setMenuAction(const QString& name, std::function<void()> action);

    // After a failed database open: the Administration menu and the database entries are greyed.
    void disableDatabaseEntries();

    void setStatusPanels(const ClockStatusPanels& panels);
    QLabel* statusPanel(int number) const; // 1 to 11

    // The banner laid out for the current window size.
    void layoutBanner();
    // Repaints and, unless the window already fills the screen, centres it.
    void backgroundClick();

    void openHelp();
    // The general error report, counting the errors this window has met.
    void showGeneralError(const QString& description, int number);

    QLabel* lblProgram;
    QLabel* lblCoName;
    QFrame* Line1;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildStatusBar();
    QAction* addEntry(QMenu* menu, const QString& caption, const QString& name);
    void runEntry(const QString& name);
    void updateTimePanel();

    AppContext& m_context;
    MainBanner* m_banner;
    QHash<QString, QAction*> m_entries;
    QHash<QString, std::function<void()>> m_actions;
    QList<QLabel*> m_panels;
    ErrorReport m_errors;
};
