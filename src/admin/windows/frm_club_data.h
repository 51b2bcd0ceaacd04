#pragma once

#include "admin/admin_data.h"
#include "admin/club_rules.h"
#include "database/database_messages.h"

#include <QWidget>
#include <optional>
#include <vector>

class Dialogs;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The clubs window: lists clubs (filtered as the search text is typed), shows one, adds and renames clubs.
// Clubs are never deleted. It holds its own database connection while it is open.
class frmClubData : public QWidget {
    Q_OBJECT
public:
    frmClubData(const QString& databasePath, Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmClubData() override;

    bool databaseOpen() const { return m_database.isOpen(); }
    club::Mode mode() const { return m_mode; }

    // Refills the list from the search text (clublistrecords).
    void clubListRecords();
    // The Add and Save buttons, for callers that drive the window.
    void pressAdd();
    void pressSave();
    // Opened because a receive found no club to store under: says so and starts adding one.
    void addFirstClub();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void applyControls();
    void listClick();
    void searchChanged();
    void editClicked();
    void cancelClicked();
    void endClicked();
    void clearBoxes();
    void showShown(int row);
    void report(const DbResult& result);

    Dialogs& m_dialogs;
    Database m_database;
    AdminData m_data{m_database};
    ErrorReport m_errors;

    club::Mode m_mode = club::Mode::Browse;
    std::vector<Club> m_clubs; // in list order
    std::optional<Club> m_shown;

    QListWidget* lstClubList = nullptr;
    QLabel* lblClubList = nullptr;
    QLineEdit* txtClubSearch = nullptr;
    QLineEdit* txtClubID = nullptr;
    QLineEdit* txtClubName = nullptr;
    QPushButton* cmdClubAddNew = nullptr;
    QPushButton* cmdClubEdit = nullptr;
    QPushButton* cmdClubSave = nullptr;
    QPushButton* cmdClubCancel = nullptr;
    QPushButton* cmdClubDelete = nullptr;
    QPushButton* cmdClubEnd = nullptr;
};
