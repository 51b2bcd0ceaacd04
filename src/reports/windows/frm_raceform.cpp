#include "reports/windows/frm_raceform.h"

#include "platform/dialogs.h"
#include "platform/qt/window_support.h"
#include "reports/report_document.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

int SelectedRaceIndex = 0;

namespace {
QLineEdit* fieldBox(QWidget* parent, const char* name, int characters)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setFont(reportWindowFont(10));
    const QFontMetrics metrics(box->font());
    box->setMinimumWidth(metrics.horizontalAdvance(QString(characters + 2, QLatin1Char('0'))));
    return box;
}

QLabel* caption(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

void setWarning(QLineEdit* box, bool warning)
{
    QPalette palette = box->parentWidget()->palette();
    if (warning)
        palette.setColor(QPalette::Text, Qt::red);
    box->setPalette(palette);
}
} // namespace

frmRaceform::frmRaceform(const RaceReportServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services)
{
    setObjectName(QStringLiteral("frmRaceform"));
    setWindowTitle(QStringLiteral("Corvex Race Report"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_printer = m_services.printer ? m_services.printer : std::make_shared<SystemReportPrinter>();

    lblRaceNum = new QLabel(this);
    lblRaceNum->setObjectName(QStringLiteral("lblRaceNum"));
    lblRaceNum->setFont(reportWindowFont(12));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setFont(reportWindowFont(10));
    txtRaceDate = fieldBox(this, "txtRaceDate", 8);
    txtLiberationPoint = fieldBox(this, "txtLiberationPoint", 8);
    txtConcourse = fieldBox(this, "txtConcourse", 4);
    txtCombine = fieldBox(this, "txtCombine", 2);
    txtClubNo = fieldBox(this, "txtClubNo", 2);
    txtFlyerNo = fieldBox(this, "txtFlyerNo", 3);
    txtRBMSN = fieldBox(this, "txtRBMSN", 8);
    txtClockStart = fieldBox(this, "txtClockStart", 17);
    txtClockStop = fieldBox(this, "txtClockStop", 17);
    txtKnockOff = fieldBox(this, "txtKnockOff", 17);
    txtDevAmount = fieldBox(this, "txtDevAmount", 6);
    txtDevLabel = fieldBox(this, "txtDevLabel", 22);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(reportWindowFont(10));
    List1->setMinimumWidth(QFontMetrics(List1->font()).horizontalAdvance(QString(58, QLatin1Char('0'))));
    List1->setMinimumHeight(QFontMetrics(List1->font()).height() * 12);
    cmdPrinter = new QPushButton(QStringLiteral("Print"), this);
    cmdPrinter->setObjectName(QStringLiteral("cmdPrinter"));
    cmdPrint = new QPushButton(QStringLiteral("&Preview"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    Command1 = new QPushButton(QStringLiteral("&Browse"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto* header = new QGridLayout;
    header->addWidget(caption(this, "lblRaceCaption", QStringLiteral("Race #")), 0, 0);
    auto* raceRow = new QHBoxLayout;
    raceRow->addWidget(lblRaceNum);
    raceRow->addWidget(Combo1);
    raceRow->addStretch();
    header->addLayout(raceRow, 0, 1);
    header->addWidget(caption(this, "lblDateCaption", QStringLiteral("Date : ")), 1, 0);
    header->addWidget(txtRaceDate, 1, 1);
    header->addWidget(caption(this, "lblLiberationCaption", QStringLiteral("Liberation Point :")), 2, 0);
    header->addWidget(txtLiberationPoint, 2, 1);
    header->addWidget(caption(this, "lblConcourseCaption", QStringLiteral("Concourse :")), 3, 0);
    header->addWidget(txtConcourse, 3, 1);
    header->addWidget(caption(this, "lblCombineCaption", QStringLiteral("Combine :")), 4, 0);
    header->addWidget(txtCombine, 4, 1);
    header->addWidget(caption(this, "lblClubCaption", QStringLiteral("Club :")), 5, 0);
    header->addWidget(txtClubNo, 5, 1);
    header->addWidget(caption(this, "lblFlyerCaption", QStringLiteral("Flyer :")), 6, 0);
    header->addWidget(txtFlyerNo, 6, 1);

    header->addWidget(caption(this, "lblRbmCaption", QStringLiteral("Memory Module :")), 0, 2);
    header->addWidget(txtRBMSN, 0, 3);
    header->addWidget(caption(this, "lblClockStartCaption", QStringLiteral(" Clock Started :")), 1, 2);
    header->addWidget(txtClockStart, 1, 3);
    header->addWidget(caption(this, "lblClockStopCaption", QStringLiteral("Clock Stopped :")), 2, 2);
    header->addWidget(txtClockStop, 2, 3);
    header->addWidget(caption(this, "lblKnockOffCaption", QStringLiteral("Clock KnockOff :")), 3, 2);
    header->addWidget(txtKnockOff, 3, 3);
    header->addWidget(caption(this, "lblDevCaption", QStringLiteral("Deviation :")), 4, 2);
    auto* deviationRow = new QHBoxLayout;
    deviationRow->addWidget(txtDevAmount);
    deviationRow->addWidget(txtDevLabel, 1);
    header->addLayout(deviationRow, 4, 3);
    header->setColumnStretch(1, 1);
    header->setColumnStretch(3, 2);

    // Column heads over the list, placed by character columns of the fixed font.
    const QFont listFont = List1->font();
    auto* heads = new QLabel(this);
    heads->setObjectName(QStringLiteral("lblColumns"));
    heads->setFont(listFont);
    heads->setText(QStringLiteral("   Flyer Name           Band Number     Time     Date"));
    heads->setIndent(List1->frameWidth() + 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPrinter);
    buttons->addWidget(cmdPrint);
    buttons->addStretch();
    buttons->addWidget(Command1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addSpacing(6);
    layout->addWidget(heads);
    layout->addWidget(List1, 1);
    layout->addLayout(buttons);

    connect(Combo1, &QComboBox::activated, this, [this](int index) { showRace(index); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { preview(); });
    connect(cmdPrinter, &QPushButton::clicked, this, [this] { print(); });
    connect(Command1, &QPushButton::clicked, this, [this] {
        m_browsing = true;
        emit browseRequested();
        close();
    });
    admin_ui::keyboardDefaults(this, nullptr, nullptr);
}

frmRaceform::~frmRaceform()
{
    if (m_preview)
        m_preview->close();
}

frmRaceform::Opening frmRaceform::openFile(const QString& raceFilePath)
{
    m_raceFilePath = raceFilePath;
    const RaceFileLoad load = loadRaceFile(raceFilePath);
    if (load.folderMissing)
        return Opening::FolderMissing;
    if (!load.ok) {
        if (m_services.dialogs)
            m_services.dialogs->inform(QStringLiteral("The race file %1 cannot be read: %2")
                                           .arg(QDir::toNativeSeparators(raceFilePath), load.error),
                                       kApplicationTitle, Dialogs::Icon::Exclamation);
        return Opening::Unreadable;
    }
    m_content = load.content;
    if (m_services.openOwners)
        m_owners = m_services.openOwners();
    if (!m_owners)
        m_owners = std::make_unique<NoOwnerLookup>();
    Combo1->clear();
    Combo1->addItems(raceNumbers(m_content));
    showRace(std::clamp(SelectedRaceIndex, 0, std::max(0, Combo1->count() - 1)));
    resize(sizeHint().expandedTo(QSize(760, 560)));
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    return Opening::Shown;
}

void frmRaceform::showRace(int index)
{
    if (index < 0 || index >= m_content.headers.size()) {
        m_result = {};
        fillFields();
        return;
    }
    Combo1->setCurrentIndex(index);
    SelectedRaceIndex = index;
    m_result = computeRaceResult(m_content, index, *m_owners);
    fillFields();

    const QString folder = QFileInfo(m_raceFilePath).absolutePath();
    const ReportFileWrite written =
        writeReportFile(folder, m_result.reportFileName, m_result.reportFileLines);
    m_reportFilePath = written.ok ? written.path : QString();
    if (!written.ok && m_services.dialogs)
        m_services.dialogs->inform(written.error, kApplicationTitle, Dialogs::Icon::Exclamation);
}

void frmRaceform::fillFields()
{
    const RaceFields& f = m_result.fields;
    lblRaceNum->setText(f.raceNumber);
    txtRaceDate->setText(f.raceDate);
    txtLiberationPoint->setText(f.liberationPoint);
    txtConcourse->setText(f.concourse);
    txtCombine->setText(f.combine);
    txtClubNo->setText(f.clubNo);
    txtFlyerNo->setText(f.flyerNo);
    txtRBMSN->setText(f.rbmSerial);
    txtClockStart->setText(f.clockStart);
    txtClockStop->setText(f.clockStop);
    txtKnockOff->setText(f.knockOff);
    setWarning(txtClockStop, f.noKnockOff);
    setWarning(txtKnockOff, f.noKnockOff);
    txtDevAmount->setText(f.devAmount);
    txtDevLabel->setText(f.devLabel);
    List1->clear();
    List1->addItems(m_result.listLines);
}

void frmRaceform::preview()
{
    emit previewOpened();
    if (!m_preview)
        m_preview = new frmPreview(this);
    m_preview->setReportText(previewText(m_result.fields, m_result.listLines));
    m_preview->showFilled();
}

PrintOutcome frmRaceform::print()
{
    if (!m_services.dialogs)
        return PrintOutcome::Failed;
    const QString folder = QFileInfo(m_raceFilePath).absolutePath();
    const QString pdfName =
        QString(m_result.reportFileName).replace(QLatin1Char('.'), QLatin1Char('_')) + QStringLiteral(".pdf");
    return printRaceReport(m_result.fields, m_result.listLines, *m_services.dialogs, *m_printer, folder,
                           pdfName);
}

void frmRaceform::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted() && !m_browsing)
        emit closedWithoutBrowse();
}
