#include "results/windows/frm_race_results.h"

#include "platform/dialogs.h"
#include "platform/qt/frm_preview.h"
#include "platform/qt/window_support.h"
#include "results/result_document.h"
#include "results/result_publication.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QString kTitle = QStringLiteral("Race Results");

QString headingHtml(const FiguredRace& race)
{
    const auto heading = resultHeading(race);
    // Two label and value pairs a row, so that the table keeps most of the window.
    QString html = QStringLiteral("<b>%1</b><table cellspacing=\"0\" cellpadding=\"2\">")
                       .arg(resultTitle(race).toHtmlEscaped());
    const qsizetype rows = (heading.size() + 1) / 2;
    for (qsizetype row = 0; row < rows; ++row) {
        html += QStringLiteral("<tr>");
        for (qsizetype i : {row, row + rows}) {
            if (i < heading.size())
                html += QStringLiteral("<td>%1:</td><td><b>%2</b></td><td width=\"24\"></td>")
                            .arg(heading[i].first.toHtmlEscaped(), heading[i].second.toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}
} // namespace

frmRaceResults::frmRaceResults(RaceResultServices services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(std::move(services))
{
    admin_ui::setUpWindow(this, QStringLiteral("frmRaceResults"), kTitle);
    m_printer = m_services.printer ? m_services.printer : std::make_shared<SystemReportPrinter>();

    cboRace = new QComboBox(this);
    cboRace->setObjectName(QStringLiteral("cboRace"));
    cboRace->setMinimumContentsLength(28);
    auto* raceLabel = new QLabel(tr("&Race:"), this);
    raceLabel->setBuddy(cboRace);
    lblHeading = new QLabel(this);
    lblHeading->setObjectName(QStringLiteral("lblHeading"));
    lblHeading->setTextFormat(Qt::RichText);
    lblHeading->setTextInteractionFlags(Qt::TextSelectableByMouse);

    tblResults = new QTableWidget(0, 8, this);
    tblResults->setObjectName(QStringLiteral("tblResults"));
    tblResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab leaves the table for the buttons; the arrows move inside it.
    tblResults->setTabKeyNavigation(false);
    tblResults->verticalHeader()->hide();
    tblResults->verticalHeader()->setDefaultSectionSize(tblResults->fontMetrics().height() + 6);
    tblResults->setAlternatingRowColors(true);
    tblResults->setMinimumSize(720, 240);
    lblNotes = new QLabel(this);
    lblNotes->setObjectName(QStringLiteral("lblNotes"));
    lblNotes->setWordWrap(true);

    cmdPreview = admin_ui::makeButton(this, QStringLiteral("cmdPreview"), tr("&Preview"));
    cmdPrint = admin_ui::makeButton(this, QStringLiteral("cmdPrint"), tr("Pr&int"));
    cmdPdf = admin_ui::makeButton(this, QStringLiteral("cmdPdf"), tr("P&DF..."));
    cmdSaveAs = admin_ui::makeButton(this, QStringLiteral("cmdSaveAs"), tr("&Save As..."));
    cmdSaveAs->setToolTip(tr("The result as a CSV file or as a web page for the club's website"));
    cmdClose = admin_ui::makeButton(this, QStringLiteral("cmdClose"), tr("&Close"));

    auto* raceRow = new QHBoxLayout;
    raceRow->addWidget(raceLabel);
    raceRow->addWidget(cboRace);
    raceRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdPreview, cmdPrint, cmdPdf, cmdSaveAs})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(raceRow);
    layout->addWidget(lblHeading);
    layout->addWidget(tblResults, 1);
    layout->addWidget(lblNotes);
    layout->addLayout(buttons);
    setTabOrder(cboRace, tblResults);
    setTabOrder(tblResults, cmdPreview);

    connect(cboRace, &QComboBox::activated, this, [this](int index) { showRace(index); });
    connect(cmdPreview, &QPushButton::clicked, this, [this] { preview(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { print(); });
    connect(cmdPdf, &QPushButton::clicked, this, [this] { savePdf(); });
    connect(cmdSaveAs, &QPushButton::clicked, this, [this] { saveFile(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { close(); });
    // Enter previews; Escape closes.
    admin_ui::keyboardDefaults(this, cmdPreview, nullptr);

    if (m_services.races) {
        auto found = m_services.races();
        if (found.ok())
            m_choices = std::move(found.value);
        else
            m_choicesError = found.status.description;
    }
    for (const RaceChoice& choice : m_choices)
        cboRace->addItem(raceChoiceText(choice));
    showRace(0);
    resize(sizeHint().expandedTo(QSize(860, 560)));
}

frmRaceResults::~frmRaceResults()
{
    if (m_preview)
        m_preview->close();
}

void frmRaceResults::showRace(int index)
{
    m_race = {};
    if (!m_choicesError.isEmpty())
        m_race.error = m_choicesError;
    else if (index < 0 || index >= static_cast<int>(m_choices.size()))
        m_race.error = tr("No race to figure: no liberation point is stored and no race file has a race.");
    else if (m_services.figure)
        m_race = m_services.figure(m_choices[static_cast<size_t>(index)]);
    if (index >= 0 && index < cboRace->count())
        cboRace->setCurrentIndex(index);
    fillTable();
}

void frmRaceResults::fillTable()
{
    const bool figured = m_race.error.isEmpty();
    lblHeading->setText(figured ? headingHtml(m_race) : QString());
    const QString distance = tr("Distance (%1)").arg(distanceUnitName(m_race.unit));
    tblResults->setHorizontalHeaderLabels({tr("Pos"), tr("Flyer"), tr("Band"), distance, tr("Arrival"),
                                           tr("Flight"), tr("Velocity"), QStringLiteral("*")});
    tblResults->horizontalHeaderItem(6)->setToolTip(velocityUnitName(m_race.unit));
    tblResults->horizontalHeaderItem(7)->setToolTip(kUncorrectedNote);
    tblResults->setRowCount(static_cast<int>(m_race.lines.size()));
    for (int row = 0; row < tblResults->rowCount(); ++row) {
        const ResultCells c = resultCells(m_race.lines[static_cast<size_t>(row)], m_race.unit);
        const QString texts[] = {
            c.position, c.flyer,  c.band,     c.distance,
            c.arrival,  c.flight, c.velocity, c.uncorrected ? QStringLiteral("*") : QString()};
        for (int column = 0; column < 8; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            if (column == 0 || column == 3 || column == 6 || (column == 5 && !c.velocity.isEmpty()))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblResults->setItem(row, column, item);
        }
    }
    tblResults->resizeColumnsToContents();
    // Some air between the columns.
    const int air = tblResults->fontMetrics().horizontalAdvance(QStringLiteral("00"));
    for (int column = 0; column < tblResults->columnCount(); ++column)
        tblResults->setColumnWidth(column, tblResults->columnWidth(column) + air);

    QStringList notes;
    if (!figured)
        notes << m_race.error;
    if (std::any_of(m_race.lines.begin(), m_race.lines.end(),
                    [](const ResultLine& line) { return !line.clockCorrected; }))
        notes << kUncorrectedNote;
    for (const QString& file : m_race.unreadableFiles)
        notes << tr("Race file not read: ") + file;
    lblNotes->setText(notes.join(u'\n'));
    for (QPushButton* button : {cmdPreview, cmdPrint, cmdPdf, cmdSaveAs})
        button->setEnabled(figured);
}

QString frmRaceResults::fileStem() const
{
    return QStringLiteral("race_%1_%2")
        .arg(m_race.race.raceNumber, 2, 10, QLatin1Char('0'))
        .arg(QString(m_race.race.date).remove(u'/'));
}

void frmRaceResults::preview()
{
    if (!m_preview)
        m_preview = new frmPreview(this, kTitle);
    m_preview->setReportText(resultText(m_race).replace(u'\n', QStringLiteral("\r\n")));
    m_preview->showFilled();
}

PrintOutcome frmRaceResults::print()
{
    if (!m_services.dialogs)
        return PrintOutcome::Failed;
    return printReport(resultPrintedLines(m_race), *m_services.dialogs, *m_printer, m_services.folder,
                       fileStem() + QStringLiteral(".pdf"));
}

PrintOutcome frmRaceResults::savePdf()
{
    if (!m_services.dialogs)
        return PrintOutcome::Failed;
    return saveReportPdf(resultPrintedLines(m_race), *m_services.dialogs, *m_printer, m_services.folder,
                         fileStem() + QStringLiteral(".pdf"));
}

void frmRaceResults::saveFile()
{
    if (!m_services.dialogs)
        return;
    const auto path =
        m_services.dialogs->saveFile(m_services.folder, fileStem() + QStringLiteral(".html"),
                                     QStringLiteral("Web page (*.html)|*.html|CSV file (*.csv)|*.csv"));
    if (!path || path->isEmpty())
        return;
    QString error;
    if (writeResultFile(m_race, *path, &error))
        m_services.dialogs->inform(tr("The result was saved:\r\n") + QDir::toNativeSeparators(*path), kTitle,
                                   Dialogs::Icon::Information);
    else
        m_services.dialogs->inform(error, kTitle, Dialogs::Icon::Exclamation);
}
