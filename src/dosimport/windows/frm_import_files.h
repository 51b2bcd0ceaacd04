#pragma once

#include "admin/admin_data.h"
#include "dosimport/dos_import.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class Dialogs;
class Progress;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// The DOS import window: finds administration files on any drive and folder, lists the flyers of the chosen
// one with their stored state, and imports the new flyers with their birds into the chosen club.
class frmImportFiles : public QWidget {
    Q_OBJECT
public:
    // Receives the concourse and combine of the imported file when "update configuration" is checked.
    using ConfigurationUpdate = std::function<void(const QString& concourse, const QString& combine)>;
    // Opens the clubs window in add mode (the shell owns that window).
    using OpenClubs = std::function<void()>;

    frmImportFiles(const QString& databasePath, const QString& startFolder, Dialogs& dialogs,
                   Progress& progress, ConfigurationUpdate updateConfiguration = {}, OpenClubs openClubs = {},
                   QWidget* parent = nullptr);
    ~frmImportFiles() override;

    QString folder() const { return m_folder; }
    // Points the folder list (and the file list) at folder.
    void setFolder(const QString& folder);
    // A click in the administration file list, and the Import button, for callers that drive the window.
    void chooseAdminFile(int row);
    void pressImport();

    QComboBox* Drive1 = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QListWidget* lstAdminFiles = nullptr;
    QListWidget* lstImportFlyers = nullptr;
    QListWidget* lstClubs = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label8 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void fillDrives();
    void listFiles();
    void fillFlyerList();
    void showStatus(const QString& text);
    void folderDoubleClicked(int row);
    void driveChosen(int index);

    Dialogs& m_dialogs;
    ConfigurationUpdate m_updateConfiguration;
    OpenClubs m_openClubs;
    Database m_database;
    AdminData m_data{m_database};
    std::unique_ptr<DosImport> m_import;
    std::vector<Club> m_clubs; // in list order
    QString m_folder;
    QLabel* m_folderPath = nullptr;
};
