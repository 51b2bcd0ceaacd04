#pragma once

#include "admin/admin_data.h"
#include "admin/bird_rules.h"
#include "database/database_messages.h"

#include <QWidget>
#include <optional>
#include <vector>

class Dialogs;
class SettingsStore;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// The bird inventory window: flyer by flyer, the birds sorted by digits 3 to 6 of the band number; adds,
// edits and deletes birds, and carries the buttons that send the inventory to the clock and receive it
// back (those transfers connect to sendBirdsRequested and receiveBirdsRequested).
class frmBirdInventory : public QWidget {
    Q_OBJECT
public:
    frmBirdInventory(const QString& databasePath, Dialogs& dialogs, const SettingsStore& settings,
                     QWidget* parent = nullptr);
    ~frmBirdInventory() override;

    bool databaseOpen() const { return m_database.isOpen(); }
    bird::Mode mode() const { return m_mode; }
    const AdminData& data() const { return m_data; }

    // Entry points for the transfers.
    void FillBirdFlyerList();
    void flyerClick();
    // Selects the first flyer whose trimmed name equals the trimmed name, and shows its birds.
    bool selectFlyer(const QString& name);
    // The chosen flyer, if any.
    std::optional<Flyer> chosenFlyer() const { return m_flyer; }
    // The chosen flyer's birds in list order, and which of them are selected in the list.
    const std::vector<Bird>& listedBirds() const { return m_birds; }
    std::vector<Bird> selectedBirds() const;
    bool sendOnlySelectBirds() const;
    // After a transfer: fields emptied, Edit, Delete, Save and Cancel off, Add and End on.
    void resetAfterTransfer();

    void pressAdd();
    void pressSave();
    // The checks run when the user leaves a field; false when the value was refused (the message is shown).
    bool orgLeft();
    bool yearLeft();
    void clubLeft();
    void numberLeft();

signals:
    void sendBirdsRequested();
    void receiveBirdsRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void applyControls();
    void FillOrgCombo();
    void birdClick();
    void showBird(int row);
    void editClicked();
    void deleteClicked();
    void cancelClicked();
    void emptyFields();
    bool fieldsComplete() const;
    bool leaveCheckApplies() const;
    bird::BirdFields typedFields() const;
    void refreshAndSelect(const QString& band);

    Dialogs& m_dialogs;
    QString m_nationalOrg;
    Database m_database;
    AdminData m_data{m_database};
    ErrorReport m_errors;

    bird::Mode m_mode = bird::Mode::Browse;
    std::vector<Flyer> m_flyers; // in list order
    std::optional<Flyer> m_flyer;
    std::vector<Bird> m_birds; // in list order
    std::optional<Bird> m_shownBird;
    bool m_inLeaveCheck = false;
    // The year the fields took over from a stored bird at Add or Edit: only a typed year is checked.
    QString m_keptYear;

    QLineEdit* txtBISearch = nullptr;
    QListWidget* lstBIFlyerList = nullptr;
    QLabel* lblBIFlyerListCount = nullptr;
    QListWidget* lstPigeonList = nullptr;
    QLabel* lblPigeonList = nullptr;
    QComboBox* cmbOrg = nullptr;
    QLineEdit* txtYear = nullptr;
    QLineEdit* txtClub = nullptr;
    QLineEdit* txtIdNumber = nullptr;
    QLineEdit* txtColor = nullptr;
    QRadioButton* optCock = nullptr;
    QRadioButton* optHen = nullptr;
    QCheckBox* chkSendOnlySelectBirds = nullptr;
    QPushButton* cmdBirdAddNew = nullptr;
    QPushButton* cmdBirdEdit = nullptr;
    QPushButton* cmdBirdSave = nullptr;
    QPushButton* cmdBirdCancel = nullptr;
    QPushButton* cmdBirdDelete = nullptr;
    QPushButton* cmdBirdEnd = nullptr;
    QPushButton* cmdSendBirds = nullptr;
    QPushButton* cmdReceiveBirds = nullptr;
};
