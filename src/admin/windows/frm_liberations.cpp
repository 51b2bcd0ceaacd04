#include "admin/windows/frm_liberations.h"

#include "admin/liberation_operations.h"
#include "admin/windows/angle_field.h"
#include "common/race_times.h"
#include "platform/dialogs.h"
#include "platform/qt/window_support.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmLiberations::frmLiberations(const QString& databasePath, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs)
{
    admin_ui::setUpWindow(this, QStringLiteral("frmLiberations"), tr("Liberation Data"));
    buildLayout();

    const DbResult opened = m_database.open(databasePath);
    if (!opened.ok())
        m_dialogs.inform(opened.description);
    FillOrteList();
}

frmLiberations::~frmLiberations() = default;

void frmLiberations::buildLayout()
{
    lstOrteList = new QListWidget(this);
    lstOrteList->setObjectName(QStringLiteral("lstOrteList"));
    lstOrteList->setFont(admin_ui::fixedPitchFont());
    lstOrteList->setMinimumSize(QFontMetrics(admin_ui::fixedPitchFont()).horizontalAdvance(QString(34, 'W')),
                                300);
    lblOrteList = new QLabel(this);
    lblOrteList->setObjectName(QStringLiteral("lblOrteList"));
    lblWinSpeed = new QLabel(this);
    lblWinSpeed->setObjectName(QStringLiteral("lblWinSpeed"));
    // Dark red on a light window, light red on a dark one.
    lblWinSpeed->setStyleSheet(palette().color(QPalette::Window).lightness() < 128
                                   ? QStringLiteral("color: #ff8080;")
                                   : QStringLiteral("color: #b00000;"));

    txtRaceNumber = admin_ui::makeBox(this, QStringLiteral("txtRaceNumber"), false);
    txtRaceNumber->setMaximumWidth(60);
    txtRaceDateMonth = admin_ui::makeBox(this, QStringLiteral("txtRaceDateMonth"));
    txtRaceDateMonth->setMaximumWidth(50);
    txtRaceDateMonth->setMaxLength(2);
    txtRaceDateDay = admin_ui::makeBox(this, QStringLiteral("txtRaceDateDay"));
    txtRaceDateDay->setMaximumWidth(50);
    txtRaceDateDay->setMaxLength(2);
    txtRaceName = admin_ui::makeBox(this, QStringLiteral("txtRaceName"));
    txtRaceName->setMinimumWidth(200);
    txtRaceType = admin_ui::makeBox(this, QStringLiteral("txtRaceType"), false);
    txtRaceType->setMaximumWidth(60);
    txtRaceLatitude = admin_ui::makeBox(this, QStringLiteral("txtRaceLatitude"));
    txtRaceLongitude = admin_ui::makeBox(this, QStringLiteral("txtRaceLongitude"));
    txtLiberationTime = admin_ui::makeBox(this, QStringLiteral("txtLiberationTime"));
    txtLiberationTime->setPlaceholderText(tr("HH:MM:SS"));
    txtLiberationTime->setMaxLength(8);
    txtNight = admin_ui::makeBox(this, QStringLiteral("txtNight"));
    txtNight->setPlaceholderText(tr("HH:MM-HH:MM"));
    txtNight->setToolTip(tr("Multi-day races: the hours each night that do not count as flying time"));
    txtNight->setMaxLength(11);
    for (QLineEdit* box : {txtLiberationTime, txtNight})
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(13, u'0')));
    for (QLineEdit* box :
         {txtRaceNumber, txtRaceDateMonth, txtRaceDateDay, txtRaceType, txtRaceLatitude, txtRaceLongitude})
        admin_ui::filterKeys(box, liberation::acceptsDigit);
    admin_ui::filterKeys(txtLiberationTime, [](QChar c) { return liberation::acceptsDigit(c) || c == u':'; });
    admin_ui::filterKeys(txtNight,
                         [](QChar c) { return liberation::acceptsDigit(c) || c == u':' || c == u'-'; });
    const auto leaveChecked = [this] { return leaveCheckApplies(); };
    m_latitudeShown =
        new AngleField(txtRaceLatitude, Axis::Latitude, m_dialogs, m_inLeaveCheck, leaveChecked);
    m_longitudeShown =
        new AngleField(txtRaceLongitude, Axis::Longitude, m_dialogs, m_inLeaveCheck, leaveChecked);

    cmdOrteAddNew = admin_ui::makeButton(this, QStringLiteral("cmdOrteAddNew"), tr("&Add"));
    cmdOrteEdit = admin_ui::makeButton(this, QStringLiteral("cmdOrteEdit"), tr("&Edit"));
    cmdOrteSave = admin_ui::makeButton(this, QStringLiteral("cmdOrteSave"), tr("&Save"));
    cmdOrteCancel = admin_ui::makeButton(this, QStringLiteral("cmdOrteCancel"), tr("&Cancel"));
    cmdOrteDelete = admin_ui::makeButton(this, QStringLiteral("cmdOrteDelete"), tr("&Delete"));
    cmdOrteEnd = admin_ui::makeButton(this, QStringLiteral("cmdOrteEnd"), tr("E&nd"));
    cmdSendOrte = admin_ui::makeButton(this, QStringLiteral("cmdSendOrte"), tr("Send to &Corvex"));

    auto* listBox = new QGroupBox(tr("Liberation points"), this);
    auto* listLayout = new QVBoxLayout(listBox);
    // Column heads over the list entries, by character columns of the fixed font.
    auto* heads = new QLabel(tr("Nr  Date   Liberation point"), listBox);
    heads->setFont(admin_ui::fixedPitchFont());
    heads->setIndent(lstOrteList->frameWidth() + 2);
    listLayout->addWidget(heads);
    listLayout->addWidget(lstOrteList, 1);
    listLayout->addWidget(lblOrteList);
    listLayout->addWidget(lblWinSpeed);

    auto* pointBox = new QGroupBox(tr("Race"), this);
    auto* form = new QFormLayout(pointBox);
    form->addRow(tr("Race number:"), txtRaceNumber);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(txtRaceDateMonth);
    dateRow->addWidget(new QLabel(QStringLiteral("/"), pointBox));
    dateRow->addWidget(txtRaceDateDay);
    dateRow->addStretch(1);
    form->addRow(tr("Date (month / day):"), dateRow);
    form->addRow(tr("Liberation point:"), txtRaceName);
    form->addRow(tr("Race type:"), txtRaceType);
    form->addRow(tr("Latitude:"), m_latitudeShown->row());
    form->addRow(tr("Longitude:"), m_longitudeShown->row());
    form->addRow(tr("Liberation time:"), txtLiberationTime);
    form->addRow(tr("Night:"), txtNight);

    auto* right = new QVBoxLayout;
    right->addWidget(pointBox);
    right->addWidget(cmdSendOrte);
    right->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(listBox, 3);
    top->addLayout(right, 2);
    admin_ui::stackWithButtons(
        this, top, {cmdOrteAddNew, cmdOrteEdit, cmdOrteSave, cmdOrteCancel, cmdOrteDelete, cmdOrteEnd});

    admin_ui::onRowChosen(lstOrteList, this, [this] { listClick(); });
    for (QLineEdit* box : {txtRaceNumber, txtRaceDateMonth, txtRaceDateDay, txtRaceName})
        connect(box, &QLineEdit::textChanged, this, [this] { applyControls(); });
    admin_ui::onLeave(txtRaceDateMonth, [this] {
        if (leaveCheckApplies())
            monthLeft();
    });
    admin_ui::onLeave(txtRaceDateDay, [this] {
        if (leaveCheckApplies())
            dayLeft();
    });
    checkOnLeave(
        txtLiberationTime, [](const QString& text) { return parseLiberationTime(text).has_value(); },
        liberation::kTimeMessage);
    checkOnLeave(
        txtNight, [](const QString& text) { return parseNightWindow(text).has_value(); },
        liberation::kNightMessage);
    connect(cmdOrteAddNew, &QPushButton::clicked, this, [this] { pressAdd(); });
    connect(cmdOrteEdit, &QPushButton::clicked, this, [this] { editClicked(); });
    connect(cmdOrteSave, &QPushButton::clicked, this, [this] { pressSave(); });
    connect(cmdOrteCancel, &QPushButton::clicked, this, [this] { cancelClicked(); });
    connect(cmdOrteDelete, &QPushButton::clicked, this, [this] { deleteClicked(); });
    connect(cmdOrteEnd, &QPushButton::clicked, this, [this] { close(); });
    connect(cmdSendOrte, &QPushButton::clicked, this, &frmLiberations::sendOrteRequested);
    admin_ui::keyboardDefaults(this, cmdOrteSave, cmdOrteCancel);
}

QList<QLineEdit*> frmLiberations::boxes() const
{
    return {txtRaceNumber,   txtRaceDateMonth, txtRaceDateDay,    txtRaceName, txtRaceType,
            txtRaceLatitude, txtRaceLongitude, txtLiberationTime, txtNight};
}

void frmLiberations::setHemispheres(const Hemispheres& hemispheres)
{
    m_latitudeShown->setHemisphere(hemispheres.latitude);
    m_longitudeShown->setHemisphere(hemispheres.longitude);
}

void frmLiberations::checkOnLeave(QLineEdit* box, bool (*reads)(const QString&), const QString& message)
{
    admin_ui::onLeave(box, [this, box, reads, message] {
        if (leaveCheckApplies() && !box->text().trimmed().isEmpty() && !reads(box->text().trimmed()))
            admin_ui::refuseLeft(m_dialogs, message, box, m_inLeaveCheck);
    });
}

bool frmLiberations::fieldsComplete() const
{
    return !txtRaceNumber->text().isEmpty() && !txtRaceDateMonth->text().isEmpty() &&
           !txtRaceDateDay->text().isEmpty() && !txtRaceName->text().isEmpty();
}

void frmLiberations::applyControls()
{
    const liberation::Controls c =
        liberation::controlsFor({m_mode, !m_points.empty(), m_shown.has_value(), fieldsComplete()});
    cmdOrteAddNew->setEnabled(c.add);
    cmdOrteEdit->setEnabled(c.edit);
    cmdOrteSave->setEnabled(c.save);
    cmdOrteCancel->setEnabled(c.cancel);
    cmdOrteDelete->setEnabled(c.erase);
    cmdOrteEnd->setEnabled(c.end);
    cmdSendOrte->setEnabled(c.send);
    for (QLineEdit* box : boxes())
        box->setEnabled(c.boxes);
    lstOrteList->setEnabled(c.list);
}

void frmLiberations::emptyBoxes()
{
    for (QLineEdit* box : boxes())
        box->clear();
}

void frmLiberations::FillOrteList()
{
    m_points.clear();
    m_shown.reset();
    if (m_database.isOpen()) {
        const auto found = m_data.liberationPoints();
        if (found.ok())
            m_points = found.value;
        else
            m_dialogs.inform(found.status.description);
    }
    const QSignalBlocker blocker(lstOrteList);
    lstOrteList->clear();
    lblWinSpeed->clear();
    if (m_points.empty()) {
        lstOrteList->addItem(liberation::kNoRacesEntry);
        lblOrteList->setText(liberation::kNoRacesCount);
    } else {
        for (const LiberationPoint& point : m_points) {
            if (!liberation::winSpeedCompatible(point.racenum))
                lblWinSpeed->setText(
                    QString(liberation::kNotWinSpeedNote).replace(QStringLiteral("\r\n"), "\n"));
            lstOrteList->addItem(
                liberation::listEntry({point.racenum, point.racedate, point.racename, point.racetype}));
        }
        lblOrteList->setText(liberation::countLine(static_cast<int>(m_points.size())));
    }
    admin_ui::selectRow(lstOrteList, -1);
    applyControls();
}

void frmLiberations::resetAfterTransfer()
{
    m_mode = liberation::Mode::Browse;
    m_shown.reset();
    emptyBoxes();
    applyControls();
}

void frmLiberations::listClick()
{
    if (m_mode != liberation::Mode::Browse || m_points.empty())
        return;
    showPoint(lstOrteList->currentRow());
}

void frmLiberations::showPoint(int row)
{
    if (row < 0 || row >= static_cast<int>(m_points.size()))
        return;
    m_shown = m_points[static_cast<size_t>(row)];
    txtRaceNumber->setText(m_shown->racenum);
    txtRaceDateMonth->setText(m_shown->racedate.left(2));
    txtRaceDateDay->setText(m_shown->racedate.mid(2, 2));
    txtRaceName->setText(m_shown->racename);
    txtRaceType->setText(m_shown->racetype);
    txtRaceLatitude->setText(m_shown->latitude);
    txtRaceLongitude->setText(m_shown->longitude);
    txtLiberationTime->setText(m_shown->liberationTime);
    txtNight->setText(m_shown->night);
    applyControls();
}

void frmLiberations::selectAndShow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_points.size()))
        return;
    admin_ui::selectRow(lstOrteList, row);
    showPoint(row);
    lstOrteList->setFocus();
}

bool frmLiberations::leaveCheckApplies() const
{
    return m_mode != liberation::Mode::Browse && !m_inLeaveCheck &&
           QApplication::focusWidget() != cmdOrteCancel;
}

bool frmLiberations::monthLeft()
{
    const liberation::DatePartCheck check = liberation::checkMonth(txtRaceDateMonth->text());
    txtRaceDateMonth->setText(check.text);
    if (check.valid)
        return true;
    admin_ui::refuseLeft(m_dialogs, liberation::kMonthMessage, txtRaceDateMonth, m_inLeaveCheck);
    return false;
}

bool frmLiberations::dayLeft()
{
    const liberation::DatePartCheck check = liberation::checkDay(txtRaceDateDay->text());
    txtRaceDateDay->setText(check.text);
    if (check.valid)
        return true;
    admin_ui::refuseLeft(m_dialogs, liberation::kDayMessage, txtRaceDateDay, m_inLeaveCheck);
    return false;
}

void frmLiberations::pressAdd()
{
    m_mode = liberation::Mode::Adding;
    m_shown.reset();
    emptyBoxes();
    txtRaceType->setText(liberation::kDefaultType);
    applyControls();
    txtRaceNumber->setFocus();
}

void frmLiberations::editClicked()
{
    if (!m_shown)
        return;
    m_mode = liberation::Mode::Editing;
    applyControls();
    txtRaceNumber->setFocus();
}

void frmLiberations::pressSave()
{
    if (m_mode == liberation::Mode::Browse)
        return;
    const bool adding = m_mode == liberation::Mode::Adding;
    if (!adding && !m_shown)
        return;
    // Enter saves without leaving the box: the position's check runs here.
    if (m_inLeaveCheck || !m_latitudeShown->left() || !m_longitudeShown->left())
        return;
    const int remembered = lstOrteList->currentRow();
    const liberation::PointFields fields{
        txtRaceNumber->text(),    txtRaceDateMonth->text(),  txtRaceDateDay->text(),
        txtRaceName->text(),      txtRaceType->text(),       txtRaceLatitude->text(),
        txtRaceLongitude->text(), txtLiberationTime->text(), txtNight->text()};
    const AdminOutcome outcome =
        adding ? liberation::add(m_data, fields) : liberation::edit(m_data, m_shown->rowId, fields);
    if (outcome.status == AdminOutcome::Status::Failed) {
        m_errors.show(m_dialogs, outcome.db);
        return;
    }
    if (outcome.stale) {
        m_dialogs.message(outcome.box);
        cancelClicked();
        return;
    }
    if (outcome.status == AdminOutcome::Status::Refused) {
        m_dialogs.message(outcome.box);
        if (outcome.box.text == liberation::kMonthMessage)
            txtRaceDateMonth->setFocus();
        else if (outcome.box.text == liberation::kDayMessage)
            txtRaceDateDay->setFocus();
        else if (outcome.box.text == liberation::kTimeMessage)
            txtLiberationTime->setFocus();
        else if (outcome.box.text == liberation::kNightMessage)
            txtNight->setFocus();
        else if (outcome.box.text == liberation::kPositionPairMessage)
            (txtRaceLatitude->text().isEmpty() ? txtRaceLatitude : txtRaceLongitude)->setFocus();
        // Save stays off until a box changes.
        cmdOrteSave->setEnabled(false);
        return;
    }
    m_mode = liberation::Mode::Browse;
    emptyBoxes();
    FillOrteList();
    selectAndShow(adding ? static_cast<int>(m_points.size()) - 1
                         : std::min(remembered, static_cast<int>(m_points.size()) - 1));
    applyControls();
}

void frmLiberations::deleteClicked()
{
    if (!m_shown)
        return;
    if (!admin_ui::askYesNo(m_dialogs, liberation::kDeleteQuestion, liberation::kDeleteTitle))
        return;
    const DbResult result = m_data.deleteLiberationPoint(m_shown->rowId);
    if (!result.ok())
        m_errors.show(m_dialogs, result);
    m_mode = liberation::Mode::Browse;
    emptyBoxes();
    FillOrteList();
    selectAndShow(0);
}

void frmLiberations::cancelClicked()
{
    const int remembered = lstOrteList->currentRow();
    m_mode = liberation::Mode::Browse;
    emptyBoxes();
    FillOrteList();
    selectAndShow(remembered);
    applyControls();
}

void frmLiberations::closeEvent(QCloseEvent* event)
{
    m_database.close();
    QWidget::closeEvent(event);
}
