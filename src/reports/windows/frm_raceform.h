#pragma once

#include "platform/qt/frm_preview.h"
#include "reports/race_result.h"
#include "reports/windows/race_report_services.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The race shown last (0 for a file's first race), kept for the run: the next report opens at it.
extern int SelectedRaceIndex;

// One race or training flight of a race file: header fields, the clock check, and the clocked birds.
// Closing it, other than by Browse, closes the race file chooser too; Escape closes it.
class frmRaceform : public QWidget {
    Q_OBJECT
public:
    enum class Opening { Shown, FolderMissing, Unreadable };

    frmRaceform(const RaceReportServices& services, QWidget* parent = nullptr);
    ~frmRaceform() override;

    // Reads the race file and shows the kept race (the file's last when it has fewer); on Unreadable the
    // reason has been shown.
    Opening openFile(const QString& raceFilePath);
    // Shows race index (0-based) of the file read, writing its report file; the index is kept.
    void showRace(int index);

    const QString& raceFilePath() const { return m_raceFilePath; }
    // The report file written for the race shown; empty when it could not be written.
    const QString& reportFilePath() const { return m_reportFilePath; }
    const RaceResult& result() const { return m_result; }
    frmPreview* previewWindow() const { return m_preview; }

    void preview();
    PrintOutcome print();

signals:
    void browseRequested();
    void previewOpened();
    // Closed by any means but Browse.
    void closedWithoutBrowse();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillFields();

    RaceReportServices m_services;
    std::unique_ptr<OwnerLookup> m_owners;
    std::shared_ptr<ReportPrinter> m_printer;
    QString m_raceFilePath;
    QString m_reportFilePath;
    RaceFileContent m_content;
    RaceResult m_result;
    QPointer<frmPreview> m_preview;
    bool m_browsing = false;

    QLabel* lblRaceNum;
    QComboBox* Combo1;
    QLineEdit* txtRaceDate;
    QLineEdit* txtLiberationPoint;
    QLineEdit* txtConcourse;
    QLineEdit* txtCombine;
    QLineEdit* txtClubNo;
    QLineEdit* txtFlyerNo;
    QLineEdit* txtRBMSN;
    QLineEdit* txtClockStart;
    QLineEdit* txtClockStop;
    QLineEdit* txtKnockOff;
    QLineEdit* txtDevAmount;
    QLineEdit* txtDevLabel;
    QListWidget* List1;
    QPushButton* cmdPrinter;
    QPushButton* cmdPrint;
    QPushButton* Command1;
};
