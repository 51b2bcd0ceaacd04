#include "admin/windows/frm_bird_inventory.h"

#include "admin/bird_operations.h"
#include "platform/dialogs.h"
#include "platform/qt/window_support.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmBirdInventory::frmBirdInventory(const QString& databasePath, Dialogs& dialogs,
                                   const SettingsStore& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs),
      m_nationalOrg(settings.read(QStringLiteral("NationalOrg"), QString()))
{
    admin_ui::setUpWindow(this, QStringLiteral("frmBirdInventory"), tr("Bird Inventory"));
    buildLayout();

    const DbResult opened = m_database.open(databasePath);
    if (!opened.ok())
        m_errors.show(m_dialogs, opened);
    FillOrgCombo();
    optCock->setChecked(true);
    FillBirdFlyerList();
    applyControls();
}

frmBirdInventory::~frmBirdInventory() = default;

void frmBirdInventory::buildLayout()
{
    txtBISearch = admin_ui::makeBox(this, QStringLiteral("txtBISearch"));
    txtBISearch->setPlaceholderText(tr("Beginning of the name"));
    lstBIFlyerList = new QListWidget(this);
    lstBIFlyerList->setObjectName(QStringLiteral("lstBIFlyerList"));
    lstBIFlyerList->setMinimumSize(200, 300);
    lblBIFlyerListCount = new QLabel(this);
    lblBIFlyerListCount->setObjectName(QStringLiteral("lblBIFlyerListCount"));

    lstPigeonList = new QListWidget(this);
    lstPigeonList->setObjectName(QStringLiteral("lstPigeonList"));
    lstPigeonList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstPigeonList->setFont(admin_ui::fixedPitchFont());
    lstPigeonList->setMinimumSize(
        QFontMetrics(admin_ui::fixedPitchFont()).horizontalAdvance(QString(36, 'W')), 300);
    lblPigeonList = new QLabel(this);
    lblPigeonList->setObjectName(QStringLiteral("lblPigeonList"));
    chkSendOnlySelectBirds = new QCheckBox(tr("Selected birds only (send and delete)"), this);
    chkSendOnlySelectBirds->setObjectName(QStringLiteral("chkSendOnlySelectBirds"));

    cmbOrg = new QComboBox(this);
    cmbOrg->setObjectName(QStringLiteral("cmbOrg"));
    cmbOrg->setEditable(true);
    cmbOrg->setInsertPolicy(QComboBox::NoInsert);
    cmbOrg->setMaximumWidth(90);
    txtYear = admin_ui::makeBox(this, QStringLiteral("txtYear"));
    txtYear->setMaxLength(2);
    txtYear->setMaximumWidth(60);
    txtClub = admin_ui::makeBox(this, QStringLiteral("txtClub"));
    txtClub->setMaximumWidth(90);
    txtIdNumber = admin_ui::makeBox(this, QStringLiteral("txtIdNumber"));
    txtIdNumber->setMaximumWidth(110);
    txtColor = admin_ui::makeBox(this, QStringLiteral("txtColor"));
    optCock = new QRadioButton(tr("Cock"), this);
    optCock->setObjectName(QStringLiteral("optCock"));
    optHen = new QRadioButton(tr("Hen"), this);
    optHen->setObjectName(QStringLiteral("optHen"));
    for (QWidget* field : std::initializer_list<QWidget*>{cmbOrg, optCock, optHen})
        admin_ui::readableWhenDisabled(field);
    admin_ui::filterKeys(txtYear, bird::acceptsDigit);
    admin_ui::filterKeys(txtIdNumber, bird::acceptsDigit);
    admin_ui::filterKeys(txtColor, bird::acceptsColorLetter);

    cmdBirdAddNew = admin_ui::makeButton(this, QStringLiteral("cmdBirdAddNew"), tr("&Add"));
    cmdBirdEdit = admin_ui::makeButton(this, QStringLiteral("cmdBirdEdit"), tr("&Edit"));
    cmdBirdSave = admin_ui::makeButton(this, QStringLiteral("cmdBirdSave"), tr("&Save"));
    cmdBirdCancel = admin_ui::makeButton(this, QStringLiteral("cmdBirdCancel"), tr("&Cancel"));
    cmdBirdDelete = admin_ui::makeButton(this, QStringLiteral("cmdBirdDelete"), tr("&Delete"));
    cmdBirdEnd = admin_ui::makeButton(this, QStringLiteral("cmdBirdEnd"), tr("E&nd"));
    cmdSendBirds = admin_ui::makeButton(this, QStringLiteral("cmdSendBirds"), tr("Send to C&orvex"));
    cmdReceiveBirds =
        admin_ui::makeButton(this, QStringLiteral("cmdReceiveBirds"), tr("&Receive from Corvex"));

    auto* flyerBox =
        admin_ui::searchedList(this, tr("Flyers"), txtBISearch, lstBIFlyerList, lblBIFlyerListCount);

    auto* birdBox = new QGroupBox(tr("Birds"), this);
    auto* birdLayout = new QVBoxLayout(birdBox);
    // Column heads over the list entries, by character columns of the fixed font.
    auto* heads = new QLabel(tr(" Band number   S Ring       Colour"), birdBox);
    heads->setObjectName(QStringLiteral("lblPigeonColumns"));
    heads->setFont(admin_ui::fixedPitchFont());
    heads->setIndent(lstPigeonList->frameWidth() + 2);
    birdLayout->addWidget(heads);
    birdLayout->addWidget(lstPigeonList, 1);
    birdLayout->addWidget(lblPigeonList);
    birdLayout->addWidget(chkSendOnlySelectBirds);

    auto* fieldBox = new QGroupBox(tr("Bird"), this);
    auto* form = new QFormLayout(fieldBox);
    form->addRow(tr("Nat Org:"), cmbOrg);
    form->addRow(tr("Hatch year:"), txtYear);
    form->addRow(tr("Club:"), txtClub);
    form->addRow(tr("Band number:"), txtIdNumber);
    form->addRow(tr("Colour:"), txtColor);
    auto* sexRow = new QHBoxLayout;
    sexRow->addWidget(optCock);
    sexRow->addWidget(optHen);
    sexRow->addStretch(1);
    form->addRow(tr("Sex:"), sexRow);

    auto* clockBox = new QGroupBox(tr("Corvex"), this);
    auto* clockLayout = new QVBoxLayout(clockBox);
    clockLayout->addWidget(cmdSendBirds);
    clockLayout->addWidget(cmdReceiveBirds);

    auto* right = new QVBoxLayout;
    right->addWidget(fieldBox);
    right->addWidget(clockBox);
    right->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(flyerBox, 2);
    top->addWidget(birdBox, 4);
    top->addLayout(right, 2);
    admin_ui::stackWithButtons(
        this, top, {cmdBirdAddNew, cmdBirdEdit, cmdBirdSave, cmdBirdCancel, cmdBirdDelete, cmdBirdEnd});

    connect(txtBISearch, &QLineEdit::textChanged, this, [this] { FillBirdFlyerList(); });
    admin_ui::onRowChosen(lstBIFlyerList, this, [this] { flyerClick(); });
    admin_ui::onRowChosen(lstPigeonList, this, [this] { birdClick(); });

    for (QLineEdit* box : {txtYear, txtClub, txtIdNumber, txtColor})
        connect(box, &QLineEdit::textChanged, this, [this] { applyControls(); });
    connect(cmbOrg, &QComboBox::currentTextChanged, this, [this] { applyControls(); });
    connect(txtYear, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.size() >= 2)
            txtClub->setFocus(Qt::TabFocusReason);
    });
    admin_ui::onEnterKey(txtClub, [this] { txtIdNumber->setFocus(Qt::TabFocusReason); });
    admin_ui::onEnterKey(txtIdNumber, [this] { txtColor->setFocus(Qt::TabFocusReason); });
    admin_ui::onEnterKey(txtColor, [this] {
        if (cmdBirdSave->isEnabled())
            cmdBirdSave->setFocus(Qt::TabFocusReason);
    });
    admin_ui::onLeave(cmbOrg, [this] {
        if (leaveCheckApplies())
            orgLeft();
    });
    admin_ui::onLeave(txtYear, [this] {
        if (leaveCheckApplies())
            yearLeft();
    });
    admin_ui::onLeave(txtClub, [this] {
        if (leaveCheckApplies())
            clubLeft();
    });
    admin_ui::onLeave(txtIdNumber, [this] {
        if (leaveCheckApplies())
            numberLeft();
    });

    connect(cmdBirdAddNew, &QPushButton::clicked, this, [this] { pressAdd(); });
    connect(cmdBirdEdit, &QPushButton::clicked, this, [this] { editClicked(); });
    connect(cmdBirdSave, &QPushButton::clicked, this, [this] { pressSave(); });
    connect(cmdBirdCancel, &QPushButton::clicked, this, [this] { cancelClicked(); });
    connect(cmdBirdDelete, &QPushButton::clicked, this, [this] { deleteClicked(); });
    connect(cmdBirdEnd, &QPushButton::clicked, this, [this] { close(); });
    connect(cmdSendBirds, &QPushButton::clicked, this, &frmBirdInventory::sendBirdsRequested);
    connect(cmdReceiveBirds, &QPushButton::clicked, this, &frmBirdInventory::receiveBirdsRequested);
    admin_ui::keyboardDefaults(this, cmdBirdSave, cmdBirdCancel);
}

bool frmBirdInventory::fieldsComplete() const
{
    return !cmbOrg->currentText().isEmpty() && !txtYear->text().isEmpty() && !txtClub->text().isEmpty() &&
           !txtIdNumber->text().isEmpty() && !txtColor->text().isEmpty();
}

void frmBirdInventory::applyControls()
{
    const bird::Controls c = bird::controlsFor(
        {m_mode, m_flyer.has_value(), !m_birds.empty(), m_shownBird.has_value(), fieldsComplete()});
    cmdBirdAddNew->setEnabled(c.add);
    cmdBirdEdit->setEnabled(c.edit);
    cmdBirdSave->setEnabled(c.save);
    cmdBirdCancel->setEnabled(c.cancel);
    cmdBirdDelete->setEnabled(c.erase);
    cmdBirdEnd->setEnabled(c.end);
    for (QWidget* field :
         std::initializer_list<QWidget*>{cmbOrg, txtYear, txtClub, txtIdNumber, txtColor, optCock, optHen})
        field->setEnabled(c.fields);
    cmdSendBirds->setEnabled(c.send);
    cmdReceiveBirds->setEnabled(c.receive);
    lstBIFlyerList->setEnabled(c.flyerList);
    lstPigeonList->setEnabled(c.birdList);
    txtBISearch->setEnabled(c.search);
}

void frmBirdInventory::FillOrgCombo()
{
    const QSignalBlocker blocker(cmbOrg);
    cmbOrg->clear();
    cmbOrg->addItems(bird::orgCodes());
    cmbOrg->setCurrentText(m_nationalOrg);
}

void frmBirdInventory::emptyFields()
{
    const QSignalBlocker blocker(cmbOrg);
    cmbOrg->setCurrentIndex(-1);
    cmbOrg->setEditText(QString());
    for (QLineEdit* box : {txtYear, txtClub, txtIdNumber, txtColor})
        box->clear();
}

void frmBirdInventory::FillBirdFlyerList()
{
    if (m_mode != bird::Mode::Browse)
        return;
    m_flyers.clear();
    m_flyer.reset();
    if (m_database.isOpen())
        m_flyers = admin_ui::rowsOrReported(m_data.searchFlyers(txtBISearch->text()), m_errors, m_dialogs);
    {
        const QSignalBlocker blocker(lstBIFlyerList);
        lstBIFlyerList->clear();
        for (const Flyer& row : m_flyers)
            lstBIFlyerList->addItem(row.Name);
    }
    if (m_flyers.empty()) {
        emptyFields();
        {
            const QSignalBlocker blocker(lstBIFlyerList);
            lstBIFlyerList->addItem(bird::kNoFlyersEntry);
        }
        lblBIFlyerListCount->setText(bird::kNoFlyersCount);
        m_birds.clear();
        m_shownBird.reset();
        {
            const QSignalBlocker blocker(lstPigeonList);
            lstPigeonList->clear();
            lstPigeonList->addItem(bird::kNoPigeonsEntry);
        }
        lblPigeonList->setText(bird::kNoPigeonsCount);
        applyControls();
        return;
    }
    lblBIFlyerListCount->setText(bird::flyerCountLine(static_cast<int>(m_flyers.size())));
    admin_ui::selectRow(lstBIFlyerList, 0);
    flyerClick();
}

bool frmBirdInventory::selectFlyer(const QString& name)
{
    for (size_t i = 0; i < m_flyers.size(); ++i) {
        if (m_flyers[i].Name.trimmed() == name.trimmed()) {
            admin_ui::selectRow(lstBIFlyerList, static_cast<int>(i));
            flyerClick();
            return true;
        }
    }
    return false;
}

void frmBirdInventory::flyerClick()
{
    if (m_mode != bird::Mode::Browse)
        return;
    const int row = lstBIFlyerList->currentRow();
    if (row < 0 || row >= static_cast<int>(m_flyers.size()))
        return;
    m_flyer = m_flyers[static_cast<size_t>(row)];
    m_birds.clear();
    m_shownBird.reset();
    m_birds = admin_ui::rowsOrReported(m_data.birdsOfFlyerListed(m_flyer->FlyerID), m_errors, m_dialogs);
    {
        const QSignalBlocker blocker(lstPigeonList);
        lstPigeonList->clear();
        if (m_birds.empty()) {
            lstPigeonList->addItem(bird::kNoBirdsEntry);
        } else {
            QStringList entries;
            entries.reserve(static_cast<qsizetype>(m_birds.size()));
            for (const Bird& b : m_birds)
                entries << bird::listEntry(b);
            lstPigeonList->addItems(entries);
        }
        admin_ui::selectRow(lstPigeonList, -1);
    }
    lblPigeonList->setText(m_birds.empty() ? bird::kNoBirdsCount
                                           : bird::countLine(static_cast<int>(m_birds.size())));
    emptyFields();
    applyControls();
}

void frmBirdInventory::birdClick()
{
    if (m_mode != bird::Mode::Browse || !lstPigeonList->isEnabled() || m_birds.empty())
        return;
    showBird(lstPigeonList->currentRow());
}

void frmBirdInventory::showBird(int row)
{
    if (row < 0 || row >= static_cast<int>(m_birds.size()))
        return;
    m_shownBird = m_birds[static_cast<size_t>(row)];
    {
        const QSignalBlocker blocker(cmbOrg);
        cmbOrg->setEditText(m_shownBird->NatOrg);
    }
    txtYear->setText(m_shownBird->HatchYr);
    txtClub->setText(m_shownBird->clubletters);
    txtIdNumber->setText(m_shownBird->bnumber);
    txtColor->setText(m_shownBird->color);
    (m_shownBird->sex == QLatin1String("C") ? optCock : optHen)->setChecked(true);
    applyControls();
}

std::vector<Bird> frmBirdInventory::selectedBirds() const
{
    std::vector<Bird> selected;
    for (int i = 0; i < lstPigeonList->count() && i < static_cast<int>(m_birds.size()); ++i) {
        if (lstPigeonList->item(i)->isSelected())
            selected.push_back(m_birds[static_cast<size_t>(i)]);
    }
    return selected;
}

bool frmBirdInventory::sendOnlySelectBirds() const
{
    return chkSendOnlySelectBirds->isChecked();
}

void frmBirdInventory::resetAfterTransfer()
{
    m_mode = bird::Mode::Browse;
    m_shownBird.reset();
    emptyFields();
    applyControls();
}

bool frmBirdInventory::leaveCheckApplies() const
{
    return m_mode != bird::Mode::Browse && !m_inLeaveCheck && QApplication::focusWidget() != cmdBirdCancel;
}

bool frmBirdInventory::orgLeft()
{
    if (bird::orgAcceptable(cmbOrg->currentText().trimmed()))
        return true;
    admin_ui::refuseLeft(m_dialogs, bird::orgMessage(), cmbOrg, m_inLeaveCheck);
    return false;
}

bool frmBirdInventory::yearLeft()
{
    const auto problem = bird::yearProblem(txtYear->text(), m_keptYear);
    if (!problem)
        return true;
    admin_ui::refuseLeft(m_dialogs, *problem, txtYear, m_inLeaveCheck);
    return false;
}

void frmBirdInventory::clubLeft()
{
    txtClub->setText(bird::padClubLetters(txtClub->text()));
}

void frmBirdInventory::numberLeft()
{
    txtIdNumber->setText(bird::padBandNumber(txtIdNumber->text()));
}

bird::BirdFields frmBirdInventory::typedFields() const
{
    bird::BirdFields fields;
    fields.org = cmbOrg->currentText();
    fields.year = txtYear->text();
    fields.club = txtClub->text();
    fields.number = txtIdNumber->text();
    fields.color = txtColor->text();
    fields.cock = optCock->isChecked();
    return fields;
}

void frmBirdInventory::pressAdd()
{
    if (!m_flyer)
        return;
    m_mode = bird::Mode::Adding;
    m_keptYear = m_birds.empty() ? QString() : txtYear->text();
    if (!m_birds.empty()) {
        if (cmbOrg->currentText().isEmpty()) {
            const QSignalBlocker blocker(cmbOrg);
            cmbOrg->setEditText(m_nationalOrg);
        }
        txtIdNumber->setText(bird::nextBandNumber(txtIdNumber->text()));
    } else {
        const QSignalBlocker blocker(cmbOrg);
        cmbOrg->setEditText(m_nationalOrg);
        txtIdNumber->setText(QStringLiteral("000001"));
    }
    txtColor->setText(bird::kDefaultColor);
    applyControls();
    if (txtYear->text().isEmpty())
        txtYear->setFocus();
    else if (txtClub->text().isEmpty())
        txtClub->setFocus();
    else if (cmdBirdSave->isEnabled())
        cmdBirdSave->setFocus();
}

void frmBirdInventory::editClicked()
{
    if (!m_shownBird)
        return;
    m_mode = bird::Mode::Editing;
    m_keptYear = m_shownBird->HatchYr;
    applyControls();
    cmbOrg->setFocus();
}

void frmBirdInventory::refreshAndSelect(const QString& band)
{
    flyerClick();
    for (size_t i = 0; i < m_birds.size(); ++i) {
        if (m_birds[i].band() == band) {
            admin_ui::selectRow(lstPigeonList, static_cast<int>(i));
            showBird(static_cast<int>(i));
            lstPigeonList->scrollToItem(lstPigeonList->item(static_cast<int>(i)));
            break;
        }
    }
    lblBIFlyerListCount->setText(bird::flyerCountLine(static_cast<int>(m_flyers.size())));
}

void frmBirdInventory::pressSave()
{
    if (m_mode == bird::Mode::Browse || !m_flyer)
        return;
    if (!fieldsComplete()) {
        m_dialogs.inform(bird::kMissingFields, bird::kErrorTitle, Dialogs::Icon::Critical);
        txtYear->setFocus();
        return;
    }
    const bird::BirdFields fields = typedFields();
    const bool adding = m_mode == bird::Mode::Adding;
    if (!adding && !m_shownBird)
        return;
    const AdminOutcome outcome =
        adding ? bird::add(m_data, *m_flyer, fields, m_keptYear) : bird::edit(m_data, *m_shownBird, fields);

    if (outcome.status == AdminOutcome::Status::Failed) {
        m_errors.show(m_dialogs, outcome.db);
        return;
    }
    if (outcome.stale) {
        m_dialogs.message(outcome.box);
        m_mode = bird::Mode::Browse;
        FillBirdFlyerList();
        return;
    }
    if (outcome.status == AdminOutcome::Status::Refused) {
        m_dialogs.message(outcome.box);
        if (outcome.box.text == bird::orgMessage()) {
            cmbOrg->setFocus();
        } else if (outcome.box.text == bird::yearMessage()) {
            txtYear->setFocus();
        } else if (adding && outcome.box.text ==
                                 bird::duplicateBandMessage(bird::rowFromFields(0, fields, {}, {}).band())) {
            // The add starts again with the next band number.
            txtIdNumber->setText(bird::nextBandNumber(fields.number));
            applyControls();
        }
        return;
    }
    const QString band = bird::rowFromFields(m_flyer->FlyerID, fields, {}, {}).band();
    m_mode = bird::Mode::Browse;
    refreshAndSelect(band);
    if (adding)
        cmdBirdAddNew->setFocus();
    else
        lstPigeonList->setFocus();
}

void frmBirdInventory::deleteClicked()
{
    if (m_birds.empty() || !m_flyer)
        return;
    AdminOutcome outcome;
    if (chkSendOnlySelectBirds->isChecked()) {
        const std::vector<Bird> selected = selectedBirds();
        if (selected.empty())
            return;
        if (!admin_ui::askYesNo(m_dialogs, bird::kDeleteSelectedQuestion, bird::kDeleteTitle))
            return;
        QStringList bands;
        for (const Bird& b : selected)
            bands << b.band();
        outcome = bird::deleteBands(m_data, m_flyer->FlyerID, bands);
    } else {
        if (!m_shownBird)
            return;
        if (!admin_ui::askYesNo(m_dialogs, bird::kDeleteSingleQuestion, bird::kDeleteTitle))
            return;
        const DbResult result = m_data.deleteBird(m_shownBird->rowId);
        outcome = result.ok() ? AdminOutcome::stored(1) : AdminOutcome::failed(result);
    }
    if (!outcome.done())
        m_errors.show(m_dialogs, outcome.db);
    m_mode = bird::Mode::Browse;
    flyerClick();
    if (!m_birds.empty())
        lstPigeonList->setFocus();
}

void frmBirdInventory::cancelClicked()
{
    const int remembered = lstPigeonList->currentRow();
    m_mode = bird::Mode::Browse;
    flyerClick();
    if (remembered >= 0 && remembered < static_cast<int>(m_birds.size())) {
        admin_ui::selectRow(lstPigeonList, remembered);
        showBird(remembered);
        lstPigeonList->setFocus();
    }
    applyControls();
}

void frmBirdInventory::closeEvent(QCloseEvent* event)
{
    m_database.close();
    QWidget::closeEvent(event);
}
