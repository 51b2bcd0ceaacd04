#include "admin/windows/frm_flyer_list.h"

#include "admin/clean_text.h"
#include "admin/flyer_operations.h"
#include "admin/windows/window_support.h"
#include "platform/dialogs.h"

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

namespace {
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QLineEdit* makeBox(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    admin_ui::selectAllOnFocus(box);
    return box;
}
} // namespace

frmFlyerList::frmFlyerList(const QString& databasePath, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmFlyerList"));
    setWindowTitle(tr("Flyer Data"));
    setAttribute(Qt::WA_DeleteOnClose);
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
    txtSearch = makeBox(this, QStringLiteral("txtSearch"));
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
    Label1 = new QLabel(flyer::kClubCaption, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(cboClubList);

    txtFlyerName = makeBox(this, QStringLiteral("txtFlyerName"));
    txtFlyerAddress = makeBox(this, QStringLiteral("txtFlyerAddress"));
    txtFlyerCity = makeBox(this, QStringLiteral("txtFlyerCity"));
    txtFlyerEmail = makeBox(this, QStringLiteral("txtFlyerEmail"));
    txtFlyerPhone = makeBox(this, QStringLiteral("txtFlyerPhone"));
    txtFlyerLongitude = makeBox(this, QStringLiteral("txtFlyerLongitude"));
    txtFlyerLatitude = makeBox(this, QStringLiteral("txtFlyerLatitude"));
    admin_ui::filterKeys(txtFlyerLongitude, flyer::acceptsCoordinateCharacter);
    admin_ui::filterKeys(txtFlyerLatitude, flyer::acceptsCoordinateCharacter);

    cmdFlyerAddNew = makeButton(this, QStringLiteral("cmdFlyerAddNew"), tr("&Add"));
    cmdFlyerEdit = makeButton(this, QStringLiteral("cmdFlyerEdit"), tr("&Edit"));
    cmdFlyerSave = makeButton(this, QStringLiteral("cmdFlyerSave"), tr("&Save"));
    cmdFlyerCancel = makeButton(this, QStringLiteral("cmdFlyerCancel"), tr("&Cancel"));
    cmdFlyerErase = makeButton(this, QStringLiteral("cmdFlyerErase"), tr("E&rase"));
    cmdFlyerEnd = makeButton(this, QStringLiteral("cmdFlyerEnd"), tr("E&nd"));

    auto* listBox = new QGroupBox(tr("Flyers"), this);
    auto* listLayout = new QVBoxLayout(listBox);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(tr("Search:"), listBox));
    searchRow->addWidget(txtSearch);
    listLayout->addLayout(searchRow);
    listLayout->addWidget(lstFlyerList, 1);
    listLayout->addWidget(lblflyerlistCount);

    auto* flyerBox = new QGroupBox(tr("Flyer"), this);
    auto* form = new QFormLayout(flyerBox);
    form->addRow(Label1, cboClubList);
    form->addRow(tr("Name:"), txtFlyerName);
    form->addRow(tr("Address:"), txtFlyerAddress);
    form->addRow(tr("City, State, Zip:"), txtFlyerCity);
    form->addRow(tr("E-mail:"), txtFlyerEmail);
    form->addRow(tr("Phone:"), txtFlyerPhone);
    form->addRow(tr("Longitude:"), txtFlyerLongitude);
    form->addRow(tr("Latitude:"), txtFlyerLatitude);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button :
         {cmdFlyerAddNew, cmdFlyerEdit, cmdFlyerSave, cmdFlyerCancel, cmdFlyerErase, cmdFlyerEnd})
        buttons->addWidget(button);

    auto* right = new QVBoxLayout;
    right->addWidget(flyerBox);
    right->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(listBox, 2);
    top->addLayout(right, 3);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top, 1);
    main->addLayout(buttons);

    connect(lstFlyerList, &QListWidget::itemClicked, this, [this] { listClick(); });
    connect(lstFlyerList, &QListWidget::currentRowChanged, this, [this] { listClick(); });
    connect(txtSearch, &QLineEdit::textChanged, this, [this] { searchChanged(); });
    connect(cmdFlyerAddNew, &QPushButton::clicked, this, [this] { pressAdd(); });
    connect(cmdFlyerEdit, &QPushButton::clicked, this, [this] { editClicked(); });
    connect(cmdFlyerSave, &QPushButton::clicked, this, [this] { pressSave(); });
    connect(cmdFlyerCancel, &QPushButton::clicked, this, [this] { cancelClicked(); });
    connect(cmdFlyerErase, &QPushButton::clicked, this, [this] { eraseClicked(); });
    connect(cmdFlyerEnd, &QPushButton::clicked, this, [this] { close(); });
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
        ShowDatabaseError(m_dialogs, result.code, QFileInfo(m_database.path()).absolutePath());
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
    if (m_database.isOpen()) {
        const auto found = m_data.searchFlyers(txtSearch->text());
        if (found.ok())
            m_flyers = found.value;
        else
            m_errors.show(m_dialogs, found.status);
    }
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
    if (m_database.isOpen()) {
        const auto found = m_data.searchClubs(QString());
        if (found.ok())
            clubs = found.value;
        else
            m_errors.show(m_dialogs, found.status);
    }
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
    if (m_mode == flyer::Mode::Browse)
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
    if (adding && ReceiveNewFlyer && m_receiveHook.storeBirds) {
        const auto counts = m_receiveHook.storeBirds(name);
        if (counts)
            m_dialogs.inform(flyer::receivedMessage(name, counts->updated, counts->added));
        ReceiveNewFlyer = false;
        m_mode = flyer::Mode::Browse;
        close();
        if (m_receiveHook.showFlyer)
            m_receiveHook.showFlyer(name);
        return;
    }

    m_mode = flyer::Mode::Browse;
    clearBoxes();
    clearSearch();
    FillFlyerList();
    if (!m_flyers.empty()) {
        selectAndShow(adding ? static_cast<int>(m_flyers.size()) - 1
                             : std::min(remembered, static_cast<int>(m_flyers.size()) - 1));
        lstFlyerList->setFocus();
    }
    applyControls();
}

void frmFlyerList::eraseClicked()
{
    if (m_shown) {
        const auto answer =
            m_dialogs.message({flyer::kEraseQuestion, flyer::kDeleteTitle, Dialogs::Buttons::YesNo,
                               Dialogs::Icon::Question, Dialogs::Answer::No});
        if (answer != Dialogs::Answer::Yes)
            return;
        const AdminOutcome outcome = flyer::erase(m_data, m_shown->FlyerID);
        if (!outcome.done()) {
            m_errors.show(m_dialogs, outcome.db);
            return;
        }
        m_mode = flyer::Mode::Browse;
        clearBoxes();
        clearSearch();
        FillFlyerList();
    }
    if (!m_flyers.empty()) {
        selectAndShow(0);
        lstFlyerList->setFocus();
    }
    applyControls();
}

void frmFlyerList::cancelClicked()
{
    const int remembered = lstFlyerList->currentRow();
    m_mode = flyer::Mode::Browse;
    clearBoxes();
    clearSearch();
    FillFlyerList();
    if (!m_flyers.empty() && remembered >= 0) {
        selectAndShow(std::min(remembered, static_cast<int>(m_flyers.size()) - 1));
        lstFlyerList->setFocus();
    }
    applyControls();
}

void frmFlyerList::closeEvent(QCloseEvent* event)
{
    m_database.close();
    QWidget::closeEvent(event);
}
