#pragma once

#include "database/fetched.h"
#include "reports/printing/report_printing.h"
#include "results/race_figures.h"
#include "results/stored_race.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class Dialogs;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class frmPreview;

// What the results window works with; the shell fills it from its context, tests with stand-ins.
struct RaceResultServices {
    Dialogs* dialogs = nullptr;
    QString folder; // offered for the saved files
    std::function<Fetched<std::vector<RaceChoice>>()> races;
    std::function<FiguredRace(const RaceChoice&)> figure;
    std::shared_ptr<ReportPrinter> printer; // the system's printer when empty
};

// The result of one race: the chooser, the race's heading and its table; preview, print, PDF, and the CSV
// or HTML file for the club's website.
class frmRaceResults : public QWidget {
    Q_OBJECT
public:
    explicit frmRaceResults(RaceResultServices services, QWidget* parent = nullptr);
    ~frmRaceResults() override;

    // Figures the race at this index of the chooser and shows it.
    void showRace(int index);
    const FiguredRace& race() const { return m_race; }

    void preview();
    PrintOutcome print();
    PrintOutcome savePdf();
    void saveFile();

private:
    void fillTable();
    QString fileStem() const;

    RaceResultServices m_services;
    std::shared_ptr<ReportPrinter> m_printer;
    std::vector<RaceChoice> m_choices;
    QString m_choicesError;
    FiguredRace m_race;
    QPointer<frmPreview> m_preview;

    QComboBox* cboRace;
    QLabel* lblHeading;
    QTableWidget* tblResults;
    QLabel* lblNotes;
    QPushButton* cmdPreview;
    QPushButton* cmdPrint;
    QPushButton* cmdPdf;
    QPushButton* cmdSaveAs;
    QPushButton* cmdClose;
};
