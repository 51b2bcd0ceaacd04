#include "admin/windows/frm_flyer_list.h"

#include "admin/clean_text.h"
#include "admin/flyer_operations.h"
#include "admin/windows/angle_field.h"
#include "platform/dialogs.h"
#include "platform/qt/window_support.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>
#include <utility>

frmFlyerList::frmFlyerList(const QString& databasePath, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs)
{
    admin_ui::setUpWindow(this, QStringLiteral("frmFlyerList"), tr("Flyer Data"));
    buildLayout();

    const DbResult opened = m_database.open(databasePath);
    if (!opened.ok())
        reportFailure(opened);
    FillFlyerList();
    FillClubCombo();
    applyControls();
}

frmFlyerList::~frmFlyerList() = default;

void frmFlyerList::buildLayout()
{
    txtSearch = admin_ui::makeBox(this, QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(tr("Beginning of the name"));
    txtSearch->installEventFilter(this);
    lstFlyerList = new QListWidget(this);
    lstFlyerList->setObjectName(QStringLiteral("lstFlyerList"));
    lstFlyerList->setMinimumSize(240, 300);
    lblflyerlistCount = new QLabel(this);
    lblflyerlistCount->setObjectName(QStringLiteral("lblflyerlistCount"));

    cboClubList = new QComboBox(this);
    cboClubList->setObjectName(QStringLiteral("cboClubList"));
    cboClubList->setMinimumWidth(240);
    admin_ui::readableWhenDisabled(cboClubList);
    Label1 = new QLabel(flyer::kClubCaption, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(cboClubList);

    txtFlyerName = admin_ui::makeBox(this, QStringLiteral("txtFlyerName"));
    txtFlyerAddress = admin_ui::makeBox(this, QStringLiteral("txtFlyerAddress"));
    txtFlyerCity = admin_ui::makeBox(this, QStringLiteral("txtFlyerCity"));
    txtFlyerEmail = admin_ui::makeBox(this, QStringLiteral("txtFlyerEmail"));
    txtFlyerPhone = admin_ui::makeBox(this, QStringLiteral("txtFlyerPhone"));
    txtFlyerLongitude = admin_ui::makeBox(this, QStringLiteral("txtFlyerLongitude"));
    txtFlyerLatitude = admin_ui::makeBox(this, QStringLiteral("txtFlyerLatitude"));
    admin_ui::filterKeys(txtFlyerLongitude, flyer::acceptsCoordinateCharacter);
    admin_ui::filterKeys(txtFlyerLatitude, flyer::acceptsCoordinateCharacter);
    const auto leaveChecked = [this] {
        return m_mode != flyer::Mode::Browse && QApplication::focusWidget() != cmdFlyerCancel;
    };
    m_longitudeShown =
        new AngleField(txtFlyerLongitude, Axis::Longitude, m_dialogs, m_inLeaveCheck, leaveChecked);
    m_latitudeShown =
        new AngleField(txtFlyerLatitude, Axis::Latitude, m_dialogs, m_inLeaveCheck, leaveChecked);

    cmdFlyerAddNew = admin_ui::makeButton(this, QStringLiteral("cmdFlyerAddNew"), tr("&Add"));
    cmdFlyerEdit = admin_ui::makeButton(this, QStringLiteral("cmdFlyerEdit"), tr("&Edit"));
    cmdFlyerSave = admin_ui::makeButton(this, QStringLiteral("cmdFlyerSave"), tr("&Save"));
    cmdFlyerCancel = admin_ui::makeButton(this, QStringLiteral("cmdFlyerCancel"), tr("&Cancel"));
    cmdFlyerErase = admin_ui::makeButton(this, QStringLiteral("cmdFlyerErase"), tr("E&rase"));
    cmdFlyerEnd = admin_ui::makeButton(this, QStringLiteral("cmdFlyerEnd"), tr("E&nd"));

    auto* listBox = admin_ui::searchedList(this, tr("Flyers"), txtSearch, lstFlyerList, lblflyerlistCount);

    auto* flyerBox = new QGroupBox(tr("Flyer"), this);
    auto* form = new QFormLayout(flyerBox);
    form->addRow(Label1, cboClubList);
    form->addRow(tr("Name:"), txtFlyerName);
    form->addRow(tr("Address:"), txtFlyerAddress);
    form->addRow(tr("City, State, Zip:"), txtFlyerCity);
    form->addRow(tr("E-mail:"), txtFlyerEmail);
    form->addRow(tr("Phone:"), txtFlyerPhone);
    form->addRow(tr("Longitude:"), m_longitudeShown->row());
    form->addRow(tr("Latitude:"), m_latitudeShown->row());

    auto* right = new QVBoxLayout;
    right->addWidget(flyerBox);
    right->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(listBox, 2);
    top->addLayout(right, 3);
    admin_ui::stackWithButtons(
        this, top, {cmdFlyerAddNew, cmdFlyerEdit, cmdFlyerSave, cmdFlyerCancel, cmdFlyerErase, cmdFlyerEnd});

    admin_ui::onRowChosen(lstFlyerList, this, [this] { listClick(); });
    connect(txtSearch, &QLineEdit::textChanged, this, [this] { searchChanged(); });
    connect(cmdFlyerAddNew, &QPushButton::clicked, this, [this] { pressAdd(); });
    connect(cmdFlyerEdit, &QPushButton::clicked, this, [this] { editClicked(); });
    connect(cmdFlyerSave, &QPushButton::clicked, this, [this] { pressSave(); });
    connect(cmdFlyerCancel, &QPushButton::clicked, this, [this] { cancelClicked(); });
    connect(cmdFlyerErase, &QPushButton::clicked, this, [this] { eraseClicked(); });
    connect(cmdFlyerEnd, &QPushButton::clicked, this, [this] { close(); });
    admin_ui::keyboardDefaults(this, cmdFlyerSave, cmdFlyerCancel);
}

void frmFlyerList::applyControls()
{
    const flyer::Controls c =
        flyer::controlsFor({m_mode, !m_flyers.empty(), m_shown.has_value(), m_clubsExist});
    cmdFlyerAddNew->setEnabled(c.add);
    cmdFlyerEdit->setEnabled(c.edit);
    cmdFlyerSave->setEnabled(c.save);
    cmdFlyerCancel->setEnabled(c.cancel);
    cmdFlyerErase->setEnabled(c.erase);
    cmdFlyerEnd->setEnabled(c.end);
    for (QLineEdit* box : {txtFlyerName, txtFlyerAddress, txtFlyerCity, txtFlyerEmail, txtFlyerPhone,
                           txtFlyerLongitude, txtFlyerLatitude})
        box->setEnabled(c.boxes);
    cboClubList->setEnabled(c.clubChoice);
    txtSearch->setEnabled(c.search);
    lstFlyerList->setEnabled(c.list);
    Label1->setText(c.clubCaption);
}

void frmFlyerList::reportFailure(const DbResult& result)
{
    if (result.code == DbError::FileNotFound)
        ShowDatabaseError(m_dialogs, result, m_database.path());
    else
        m_errors.show(m_dialogs, result);
}

void frmFlyerList::clearBoxes()
{
    for (QLineEdit* box : {txtFlyerName, txtFlyerAddress, txtFlyerCity, txtFlyerEmail, txtFlyerPhone,
                           txtFlyerLongitude, txtFlyerLatitude})
        box->clear();
}

void frmFlyerList::clearSearch()
{
    const QSignalBlocker blocker(txtSearch);
    txtSearch->clear();
}

void frmFlyerList::FillFlyerList()
{
    m_flyers.clear();
    m_shown.reset();
    if (m_database.isOpen())
        m_flyers = admin_ui::rowsOrReported(m_data.searchFlyers(txtSearch->text()), m_errors, m_dialogs);
    {
        const QSignalBlocker blocker(lstFlyerList);
        lstFlyerList->clear();
        if (m_flyers.empty()) {
            lstFlyerList->addItem(flyer::kNoFlyersEntry);
        } else {
            for (const Flyer& row : m_flyers)
                lstFlyerList->addItem(row.Name);
        }
        admin_ui::selectRow(lstFlyerList, -1);
    }
    lblflyerlistCount->setText(flyer::countLine(static_cast<int>(m_flyers.size())));
    applyControls();
    if (m_flyers.size() == 1)
        selectAndShow(0);
}

void frmFlyerList::FillClubCombo()
{
    std::vector<Club> clubs;
    if (m_database.isOpen())
        clubs = admin_ui::rowsOrReported(m_data.searchClubs(QString()), m_errors, m_dialogs);
    const QSignalBlocker blocker(cboClubList);
    cboClubList->clear();
    m_clubsExist = !clubs.empty();
    if (clubs.empty())
        cboClubList->addItem(flyer::kNoClubsChoice);
    for (const Club& row : clubs)
        cboClubList->addItem(flyer::clubChoice(row.ClubID, row.ClubName));
    cboClubList->setCurrentIndex(0);
    applyControls();
}

void frmFlyerList::setHemispheres(const Hemispheres& hemispheres)
{
    m_longitudeShown->setHemisphere(hemispheres.longitude);
    m_latitudeShown->setHemisphere(hemispheres.latitude);
}

int frmFlyerList::clubChoiceCount() const
{
    return m_clubsExist ? cboClubList->count() : 0;
}

void frmFlyerList::selectAndShow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_flyers.size()))
        return;
    admin_ui::selectRow(lstFlyerList, row);
    showFlyer(row);
}

void frmFlyerList::backToWholeList()
{
    m_mode = flyer::Mode::Browse;
    clearBoxes();
    clearSearch();
    FillFlyerList();
}

void frmFlyerList::showAndFocus(int row)
{
    if (m_flyers.empty())
        return;
    selectAndShow(std::min(row, static_cast<int>(m_flyers.size()) - 1));
    lstFlyerList->setFocus();
}

void frmFlyerList::listClick()
{
    if (m_mode != flyer::Mode::Browse || m_flyers.empty() || !lstFlyerList->isEnabled())
        return;
    const int row = lstFlyerList->currentRow();
    if (row >= 0)
        showFlyer(row);
}

void frmFlyerList::showFlyer(int row)
{
    const Flyer shown = m_flyers[static_cast<size_t>(row)];
    m_shown = shown;
    {
        const QSignalBlocker blocker(cboClubList);
        int index = -1;
        for (int i = 0; m_clubsExist && i < cboClubList->count(); ++i) {
            if (flyer::clubIdOfChoice(cboClubList->itemText(i)) == shown.ClubID)
                index = i;
        }
        if (index < 0) {
            const auto name = m_data.clubName(shown.ClubID);
            cboClubList->setPlaceholderText(
                flyer::clubChoice(shown.ClubID, name.ok() && name.value ? *name.value : QString()));
        }
        cboClubList->setCurrentIndex(index);
    }
    txtFlyerName->setText(shown.Name);
    txtFlyerAddress->setText(shown.Address);
    txtFlyerCity->setText(shown.CityStateZip);
    txtFlyerEmail->setText(shown.email);
    txtFlyerPhone->setText(shown.Phone);
    txtFlyerLongitude->setText(shown.Longitude);
    txtFlyerLatitude->setText(shown.Latitude);
    applyControls();
}

void frmFlyerList::searchChanged()
{
    if (m_mode != flyer::Mode::Browse)
        return;
    {
        const QSignalBlocker blocker(cboClubList);
        cboClubList->setPlaceholderText(QString());
        cboClubList->setCurrentIndex(-1);
    }
    clearBoxes();
    FillFlyerList();
}

bool frmFlyerList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtSearch && m_mode == flyer::Mode::Browse && event->type() == QEvent::MouseButtonPress)
        searchChanged();
    return QWidget::eventFilter(watched, event);
}

void frmFlyerList::pressAdd()
{
    m_mode = flyer::Mode::Adding;
    m_shown.reset();
    clearBoxes();
    FillClubCombo();
    applyControls();
    txtFlyerName->setFocus();
}

void frmFlyerList::editClicked()
{
    if (!m_shown)
        return;
    m_mode = flyer::Mode::Editing;
    if (cboClubList->currentIndex() < 0 && m_clubsExist)
        cboClubList->setCurrentIndex(0);
    applyControls();
    txtFlyerName->setFocus();
}

void frmFlyerList::setFlyerName(const QString& name)
{
    txtFlyerName->setText(name);
}

void frmFlyerList::addReceivedFlyer(const QString& name, ReceivedInventoryHook hook)
{
    pressAdd();
    setFlyerName(name);
    m_receiveHook = std::move(hook);
}

flyer::FlyerFields frmFlyerList::typedFields() const
{
    flyer::FlyerFields fields;
    fields.clubId = m_clubsExist ? flyer::clubIdOfChoice(cboClubList->currentText()) : 0;
    fields.name = txtFlyerName->text();
    fields.address = txtFlyerAddress->text();
    fields.city = txtFlyerCity->text();
    fields.email = txtFlyerEmail->text();
    fields.phone = txtFlyerPhone->text();
    fields.longitude = txtFlyerLongitude->text();
    fields.latitude = txtFlyerLatitude->text();
    return fields;
}

void frmFlyerList::pressSave()
{
    if (m_mode == flyer::Mode::Browse || m_inLeaveCheck)
        return;
    // Enter saves without leaving the box: its check runs here.
    if (!m_longitudeShown->left() || !m_latitudeShown->left())
        return;
    if (cboClubList->currentIndex() < 0)
        cboClubList->setCurrentIndex(0);
    const int remembered = lstFlyerList->currentRow();
    const bool adding = m_mode == flyer::Mode::Adding;
    AdminOutcome outcome;
    if (adding)
        outcome = flyer::add(m_data, typedFields());
    else if (m_shown)
        outcome = flyer::edit(m_data, m_shown->FlyerID, typedFields());
    else
        return;

    if (outcome.stale) {
        m_dialogs.message(outcome.box);
        cancelClicked();
        return;
    }
    if (outcome.status == AdminOutcome::Status::Refused) {
        m_dialogs.message(outcome.box);
        if (outcome.box.text != flyer::kMustEnterName)
            txtFlyerName->clear();
        txtFlyerName->setFocus();
        return;
    }
    if (outcome.status == AdminOutcome::Status::Failed) {
        reportFailure(outcome.db);
        return;
    }

    QString name = txtFlyerName->text();
    name = CleanText(name);
    if (adding && m_receiveHook.storeBirds) {
        const ReceivedInventoryHook hook = std::exchange(m_receiveHook, {});
        const auto counts = hook.storeBirds(name);
        if (counts)
            m_dialogs.inform(flyer::receivedMessage(name, counts->updated, counts->added));
        m_mode = flyer::Mode::Browse;
        close();
        if (hook.showFlyer)
            hook.showFlyer(name);
        return;
    }

    backToWholeList();
    showAndFocus(adding ? std::numeric_limits<int>::max() : remembered);
    applyControls();
}

void frmFlyerList::eraseClicked()
{
    if (m_shown) {
        if (!admin_ui::askYesNo(m_dialogs, flyer::kEraseQuestion, flyer::kDeleteTitle))
            return;
        const AdminOutcome outcome = flyer::erase(m_data, m_shown->FlyerID);
        if (!outcome.done()) {
            m_errors.show(m_dialogs, outcome.db);
            return;
        }
        backToWholeList();
    }
    showAndFocus(0);
    applyControls();
}

void frmFlyerList::cancelClicked()
{
    const int remembered = lstFlyerList->currentRow();
    backToWholeList();
    if (remembered >= 0)
        showAndFocus(remembered);
    applyControls();
}

void frmFlyerList::closeEvent(QCloseEvent* event)
{
    m_database.close();
    QWidget::closeEvent(event);
}
