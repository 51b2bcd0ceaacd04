#pragma once

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
#include "reports/windows/frm_preview.h"

// One race or training flight of a race file: header fields, the clock check, and the clocked birds.
class frmRaceform : public QWidget {
    Q_OBJECT
public:
    enum class Opening { Shown, FolderMissing, Unreadable };

    frmRaceform(const RaceReportServices& services, QWidget* parent = nullptr);
    ~frmRaceform() override;

    // Reads the race file and shows its first race; on Unreadable the reason has been shown.
    Opening openFile(const QString& raceFilePath);
    // Shows race index (0-based) of the file read, writing its report file.
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
