#pragma once

#include "reports/race_files.h"
#include "reports/windows/race_report_services.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class Dialogs;
#include "reports/windows/frm_raceform.h"

// The race file chooser: the race files of a folder, training flights marked; choosing one opens its report.
class frmRacefiles : public QWidget {
    Q_OBJECT
public:
    explicit frmRacefiles(const RaceReportServices& services, QWidget* parent = nullptr);

    // Lists the race files of folder (the race folder when the window opens).
    void setFolder(const QString& folder);
    const QString& folder() const { return m_folder; }

    // Opens the report of the entry at row; nullptr when it could not be opened.
    frmRaceform* chooseEntry(int row);
    frmRaceform* reportWindow() const { return m_report; }

    // Centres the window on its screen.
    void centre();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void fillDrives();
    void fillFolders();
    void showFailedOpening();

    RaceReportServices m_services;
    QString m_folder;
    QPointer<frmRaceform> m_report;

    QLabel* Label1;
    QListWidget* List1;
    QLabel* Label2;
    QLabel* Label3;
    QComboBox* Drive1;
    QLabel* lblFolder;
    QListWidget* Dir1;
};

// The chooser as the main window's "Corvex Race Data Reports" opens it: owners from the database at
// databasePath (a database that cannot be opened is reported once per report and owners read as unknown).
frmRacefiles* makeRaceFileChooser(const QString& raceFolder, const QString& databasePath, Dialogs& dialogs,
                                  QWidget* parent = nullptr);
