#pragma once

#include "admin/admin_data.h"
#include "admin/liberation_rules.h"
#include "common/position.h"
#include "database/database_messages.h"

#include <QWidget>
#include <optional>
#include <vector>

class AngleField;
class Dialogs;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The liberation points window: one row of table orte per race (number, date, name, type), marking race
// numbers WinSpeed cannot take. Its Send button starts the liberation transfer (sendOrteRequested).
class frmLiberations : public QWidget {
    Q_OBJECT
public:
    frmLiberations(const QString& databasePath, Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmLiberations() override;

    bool databaseOpen() const { return m_database.isOpen(); }
    liberation::Mode mode() const { return m_mode; }
    const AdminData& data() const { return m_data; }

    void FillOrteList();
    // The hemispheres the point's digits are shown in (N and W until set).
    void setHemispheres(const Hemispheres& hemispheres);
    // After the transfer: boxes emptied, Edit, Delete, Save and Cancel off, Add and End on.
    void resetAfterTransfer();

    void pressAdd();
    void pressSave();
    // The checks run when the month or day box is left; false when the value was refused.
    bool monthLeft();
    bool dayLeft();

signals:
    void sendOrteRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void applyControls();
    void listClick();
    void showPoint(int row);
    void editClicked();
    void deleteClicked();
    void cancelClicked();
    void emptyBoxes();
    bool fieldsComplete() const;
    bool leaveCheckApplies() const;
    // Refuses a time or night box left with text that does not read.
    void checkOnLeave(QLineEdit* box, bool (*reads)(const QString&), const QString& message);
    QList<QLineEdit*> boxes() const;
    void selectAndShow(int row);

    Dialogs& m_dialogs;
    Database m_database;
    AdminData m_data{m_database};
    ErrorReport m_errors;

    liberation::Mode m_mode = liberation::Mode::Browse;
    std::vector<LiberationPoint> m_points; // in list order
    std::optional<LiberationPoint> m_shown;
    bool m_inLeaveCheck = false;

    QListWidget* lstOrteList = nullptr;
    QLabel* lblOrteList = nullptr;
    QLabel* lblWinSpeed = nullptr;
    QLineEdit* txtRaceNumber = nullptr;
    QLineEdit* txtRaceDateMonth = nullptr;
    QLineEdit* txtRaceDateDay = nullptr;
    QLineEdit* txtRaceName = nullptr;
    QLineEdit* txtRaceType = nullptr;
    QLineEdit* txtRaceLatitude = nullptr;
    QLineEdit* txtRaceLongitude = nullptr;
    QLineEdit* txtLiberationTime = nullptr;
    QLineEdit* txtNight = nullptr;
    AngleField* m_latitudeShown = nullptr;
    AngleField* m_longitudeShown = nullptr;
    QPushButton* cmdOrteAddNew = nullptr;
    QPushButton* cmdOrteEdit = nullptr;
    QPushButton* cmdOrteSave = nullptr;
    QPushButton* cmdOrteCancel = nullptr;
    QPushButton* cmdOrteDelete = nullptr;
    QPushButton* cmdOrteEnd = nullptr;
    QPushButton* cmdSendOrte = nullptr;
};
