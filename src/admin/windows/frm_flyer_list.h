#pragma once

#include "admin/admin_data.h"
#include "admin/flyer_rules.h"
#include "common/position.h"
#include "database/database_messages.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class AngleField;
class Dialogs;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// What the inventory receive hands the flyers window when it opens it for a flyer not yet stored: saving
// the new flyer then stores the received birds and shows the flyer in the bird inventory window.
struct ReceivedInventoryHook {
    struct Counts {
        int updated = 0;
        int added = 0;
    };
    // Stores the received birds for the flyer just saved; nothing when it failed (it has said so).
    std::function<std::optional<Counts>(const QString& flyerName)> storeBirds;
    // Refills the bird inventory window's flyer list and selects the flyer.
    std::function<void(const QString& flyerName)> showFlyer;
};

// The flyers window: lists flyers by name, shows one, adds, edits and erases flyers (erasing also deletes
// the flyer's birds). It holds its own database connection while it is open.
class frmFlyerList : public QWidget {
    Q_OBJECT
public:
    frmFlyerList(const QString& databasePath, Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmFlyerList() override;

    bool databaseOpen() const { return m_database.isOpen(); }
    flyer::Mode mode() const { return m_mode; }

    void FillFlyerList();
    void FillClubCombo();
    // Entry points for the inventory receive.
    void pressAdd();
    void pressSave();
    void setFlyerName(const QString& name);
    // The hemispheres the loft's digits are shown in (N and W until set).
    void setHemispheres(const Hemispheres& hemispheres);
    // Clubs in the club choice (0 when it shows "No Clubs Listed").
    int clubChoiceCount() const;
    // Starts adding the received flyer of that name; saving it runs hook (once).
    void addReceivedFlyer(const QString& name, ReceivedInventoryHook hook);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void applyControls();
    void listClick();
    void showFlyer(int row);
    void searchChanged();
    void editClicked();
    void eraseClicked();
    void cancelClicked();
    void clearBoxes();
    void clearSearch();
    void selectAndShow(int row);
    // Browsing again with the boxes and the search emptied and every flyer listed.
    void backToWholeList();
    // Shows the row (the last one when beyond the list) with the focus on the list; nothing when empty.
    void showAndFocus(int row);
    flyer::FlyerFields typedFields() const;
    void reportFailure(const DbResult& result);

    Dialogs& m_dialogs;
    Database m_database;
    AdminData m_data{m_database};
    ErrorReport m_errors;
    ReceivedInventoryHook m_receiveHook;

    flyer::Mode m_mode = flyer::Mode::Browse;
    std::vector<Flyer> m_flyers; // in list order
    std::optional<Flyer> m_shown;
    bool m_clubsExist = false;
    bool m_inLeaveCheck = false;

    QListWidget* lstFlyerList = nullptr;
    QLabel* lblflyerlistCount = nullptr;
    QLineEdit* txtSearch = nullptr;
    QComboBox* cboClubList = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtFlyerName = nullptr;
    QLineEdit* txtFlyerAddress = nullptr;
    QLineEdit* txtFlyerCity = nullptr;
    QLineEdit* txtFlyerEmail = nullptr;
    QLineEdit* txtFlyerPhone = nullptr;
    QLineEdit* txtFlyerLongitude = nullptr;
    QLineEdit* txtFlyerLatitude = nullptr;
    AngleField* m_longitudeShown = nullptr;
    AngleField* m_latitudeShown = nullptr;
    QPushButton* cmdFlyerAddNew = nullptr;
    QPushButton* cmdFlyerEdit = nullptr;
    QPushButton* cmdFlyerSave = nullptr;
    QPushButton* cmdFlyerCancel = nullptr;
    QPushButton* cmdFlyerErase = nullptr;
    QPushButton* cmdFlyerEnd = nullptr;
};
