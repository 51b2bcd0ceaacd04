#include "admin/windows/frm_club_data.h"

#include "admin/club_operations.h"
#include "platform/dialogs.h"
#include "platform/qt/window_support.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmClubData::frmClubData(const QString& databasePath, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs)
{
    admin_ui::setUpWindow(this, QStringLiteral("frmClubData"), tr("Club Data"));
    buildLayout();

    const DbResult opened = m_database.open(databasePath);
    cmdClubDelete->hide();
    m_mode = club::Mode::Browse;
    if (!opened.ok())
        report(opened);
    clubListRecords();
}

frmClubData::~frmClubData() = default;

void frmClubData::buildLayout()
{
    txtClubSearch = admin_ui::makeBox(this, QStringLiteral("txtClubSearch"));
    txtClubSearch->setPlaceholderText(tr("Beginning of the club name"));
    txtClubSearch->installEventFilter(this);
    lstClubList = new QListWidget(this);
    lstClubList->setObjectName(QStringLiteral("lstClubList"));
    lstClubList->setFont(admin_ui::fixedPitchFont());
    lstClubList->setMinimumSize(320, 260);
    lblClubList = new QLabel(this);
    lblClubList->setObjectName(QStringLiteral("lblClubList"));

    txtClubID = admin_ui::makeBox(this, QStringLiteral("txtClubID"));
    txtClubID->setReadOnly(true);
    txtClubID->setMaximumWidth(80);
    txtClubName = admin_ui::makeBox(this, QStringLiteral("txtClubName"));
    txtClubName->setMinimumWidth(240);

    cmdClubAddNew = admin_ui::makeButton(this, QStringLiteral("cmdClubAddNew"), tr("&Add"));
    cmdClubEdit = admin_ui::makeButton(this, QStringLiteral("cmdClubEdit"), tr("&Edit"));
    cmdClubSave = admin_ui::makeButton(this, QStringLiteral("cmdClubSave"), tr("&Save"));
    cmdClubCancel = admin_ui::makeButton(this, QStringLiteral("cmdClubCancel"), tr("&Cancel"));
    cmdClubDelete = admin_ui::makeButton(this, QStringLiteral("cmdClubDelete"), tr("&Delete"));
    cmdClubEnd = admin_ui::makeButton(this, QStringLiteral("cmdClubEnd"), tr("E&nd"));

    auto* listBox = admin_ui::searchedList(this, tr("Clubs"), txtClubSearch, lstClubList, lblClubList);

    auto* clubBox = new QGroupBox(tr("Club"), this);
    auto* form = new QFormLayout(clubBox);
    form->addRow(tr("Club number:"), txtClubID);
    form->addRow(tr("Club name:"), txtClubName);

    auto* right = new QVBoxLayout;
    right->addWidget(clubBox);
    right->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(listBox, 3);
    top->addLayout(right, 2);
    admin_ui::stackWithButtons(
        this, top, {cmdClubAddNew, cmdClubEdit, cmdClubSave, cmdClubCancel, cmdClubDelete, cmdClubEnd});

    admin_ui::onRowChosen(lstClubList, this, [this] { listClick(); });
    connect(txtClubSearch, &QLineEdit::textChanged, this, [this] { searchChanged(); });
    connect(cmdClubAddNew, &QPushButton::clicked, this, [this] { pressAdd(); });
    connect(cmdClubEdit, &QPushButton::clicked, this, [this] { editClicked(); });
    connect(cmdClubSave, &QPushButton::clicked, this, [this] { pressSave(); });
    connect(cmdClubCancel, &QPushButton::clicked, this, [this] { cancelClicked(); });
    connect(cmdClubEnd, &QPushButton::clicked, this, [this] { endClicked(); });
    admin_ui::keyboardDefaults(this, cmdClubSave, cmdClubCancel);
}

void frmClubData::applyControls()
{
    const club::Controls c = club::controlsFor({m_mode, !m_clubs.empty(), m_shown.has_value()});
    cmdClubAddNew->setEnabled(c.add);
    cmdClubEdit->setEnabled(c.edit);
    cmdClubSave->setEnabled(c.save);
    cmdClubCancel->setEnabled(c.cancel);
    cmdClubEnd->setEnabled(c.end);
    cmdClubDelete->setEnabled(false);
    txtClubName->setEnabled(c.name);
    txtClubID->setEnabled(c.id);
    txtClubSearch->setEnabled(c.search);
    lstClubList->setEnabled(c.list);
}

void frmClubData::report(const DbResult& result)
{
    m_errors.show(m_dialogs, result);
}

void frmClubData::clearBoxes()
{
    txtClubID->clear();
    txtClubName->clear();
}

void frmClubData::clubListRecords()
{
    m_clubs.clear();
    m_shown.reset();
    {
        const QSignalBlocker blocker(lstClubList);
        lstClubList->clear();
    }
    if (m_database.isOpen())
        m_clubs = admin_ui::rowsOrReported(m_data.searchClubs(txtClubSearch->text()), m_errors, m_dialogs);
    if (m_clubs.empty()) {
        const QSignalBlocker blocker(lstClubList);
        lstClubList->addItem(club::kNoClubsEntry);
        lblClubList->setText(club::countLine(0));
        admin_ui::selectRow(lstClubList, -1);
        applyControls();
        return;
    }
    {
        const QSignalBlocker blocker(lstClubList);
        for (const Club& row : m_clubs)
            lstClubList->addItem(club::listEntry(row.ClubID, row.ClubName));
        admin_ui::selectRow(lstClubList, -1);
    }
    lblClubList->setText(club::countLine(static_cast<int>(m_clubs.size())));
    applyControls();
    if (m_clubs.size() == 1)
        showShown(0);
}

void frmClubData::showShown(int row)
{
    if (row < 0 || row >= static_cast<int>(m_clubs.size()))
        return;
    admin_ui::selectRow(lstClubList, row);
    m_shown = m_clubs[static_cast<size_t>(row)];
    txtClubID->setText(club::idText(m_shown->ClubID));
    txtClubName->setText(m_shown->ClubName);
    applyControls();
}

void frmClubData::listClick()
{
    if (m_mode != club::Mode::Browse || m_clubs.empty())
        return;
    showShown(lstClubList->currentRow());
}

void frmClubData::searchChanged()
{
    if (m_mode == club::Mode::Adding)
        return;
    clearBoxes();
    clubListRecords();
}

bool frmClubData::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtClubSearch && m_mode == club::Mode::Browse) {
        if (event->type() == QEvent::MouseButtonPress) {
            clearBoxes();
            clubListRecords();
        } else if (event->type() == QEvent::FocusIn && m_shown) {
            m_shown.reset();
            applyControls();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmClubData::addFirstClub()
{
    m_dialogs.inform(club::kNeedOneClub);
    pressAdd();
}

void frmClubData::pressAdd()
{
    clearBoxes();
    m_mode = club::Mode::Adding;
    applyControls();
    txtClubName->setFocus();
}

void frmClubData::editClicked()
{
    if (!m_shown)
        return;
    m_mode = club::Mode::Editing;
    applyControls();
    txtClubName->setFocus();
}

void frmClubData::pressSave()
{
    AdminOutcome outcome;
    if (m_mode == club::Mode::Adding)
        outcome = club::add(m_data, txtClubName->text());
    else if (m_mode == club::Mode::Editing && m_shown)
        outcome = club::rename(m_data, m_shown->ClubID, txtClubName->text());
    else
        return;

    if (outcome.stale) {
        m_dialogs.message(outcome.box);
        cancelClicked();
        return;
    }
    if (outcome.status == AdminOutcome::Status::Refused) {
        m_dialogs.message(outcome.box);
        txtClubName->setFocus();
        return;
    }
    if (outcome.status == AdminOutcome::Status::Failed) {
        report(outcome.db);
        return;
    }
    const bool editing = m_mode == club::Mode::Editing;
    m_mode = club::Mode::Browse;
    clearBoxes();
    if (editing) {
        const QSignalBlocker blocker(txtClubSearch);
        txtClubSearch->clear();
    }
    clubListRecords();
    if (!m_clubs.empty()) {
        showShown(0);
        lstClubList->setFocus();
    }
}

void frmClubData::cancelClicked()
{
    const int remembered = lstClubList->currentRow();
    m_mode = club::Mode::Browse;
    clearBoxes();
    clubListRecords();
    if (!m_clubs.empty() && remembered >= 0) {
        showShown(std::min(remembered, static_cast<int>(m_clubs.size()) - 1));
        lstClubList->setFocus();
    }
    applyControls();
}

void frmClubData::endClicked()
{
    close();
}

void frmClubData::closeEvent(QCloseEvent* event)
{
    m_database.close();
    QWidget::closeEvent(event);
}
