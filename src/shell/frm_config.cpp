#include "shell/frm_config.h"

#include "admin/windows/frm_flyer_list.h"
#include "admin/windows/frm_liberations.h"
#include "platform/qt/window_support.h"
#include "results/distance.h"
#include "settings/port_settings.h"
#include "shell/app_context.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSerialPortInfo>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLineEdit* makeField(QWidget* parent, const char* name, int maxLength, const QString& pattern)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(maxLength);
    if (!pattern.isEmpty())
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), field));
    return field;
}
} // namespace

frmConfig::frmConfig(AppContext& context, QWidget* parent) : QWidget(parent, Qt::Window), m_context(context)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configuration/Set-Up"));

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    // Picked from the list only (arrows, Alt+Down, F4, a code's first letter): it takes no free text.
    Combo1->setEditable(false);
    concrs = makeField(this, "concrs", 4, QStringLiteral("[A-Za-z0-9_]*"));
    combn = makeField(this, "combn", 2, QStringLiteral("[A-Za-z0-9_]*"));
    cmbname = makeField(this, "cmbname", 20, {});
    txtComPort = makeField(this, "txtComPort", 2, QStringLiteral("[0-9]*"));
    cboComDevice = new QComboBox(this);
    cboComDevice->setObjectName(QStringLiteral("cboComDevice"));
    cboComDevice->setEditable(true);
    cboComDevice->setInsertPolicy(QComboBox::NoInsert);
    cboComDevice->setToolTip(
        QStringLiteral("A serial device to use instead of the Com Port number, such as a USB adapter "
                       "(/dev/ttyUSB0). Leave empty to use the number."));
    txtDatabaseServer = new QLineEdit(this);
    txtDatabaseServer->setObjectName(QStringLiteral("txtDatabaseServer"));
    txtDatabaseServer->setPlaceholderText(QStringLiteral("the database file on this PC"));
    txtDatabaseServer->setToolTip(
        QStringLiteral("A shared PostgreSQL database for several PCs, such as "
                       "postgresql://user@server:5432/corvex. The password may stay out of the address, in "
                       "the file .pgpass of your home folder. Leave empty to use the database file. Takes "
                       "effect when the program starts again."));
    // Typed positions carry no hemisphere: they all lie in these. Races are figured in this unit.
    cboLatitudeHemisphere = new QComboBox(this);
    cboLatitudeHemisphere->setObjectName(QStringLiteral("cboLatitudeHemisphere"));
    cboLatitudeHemisphere->addItems({QStringLiteral("N"), QStringLiteral("S")});
    cboLongitudeHemisphere = new QComboBox(this);
    cboLongitudeHemisphere->setObjectName(QStringLiteral("cboLongitudeHemisphere"));
    cboLongitudeHemisphere->addItems({QStringLiteral("E"), QStringLiteral("W")});
    for (QComboBox* box : {cboLatitudeHemisphere, cboLongitudeHemisphere})
        box->setToolTip(
            QStringLiteral("The hemisphere of every latitude and longitude typed in the program"));
    cboVelocityUnit = new QComboBox(this);
    cboVelocityUnit->setObjectName(QStringLiteral("cboVelocityUnit"));
    cboVelocityUnit->addItem(velocityUnitName(VelocityUnit::YardsPerMinute));
    cboVelocityUnit->addItem(velocityUnitName(VelocityUnit::MetresPerMinute));
    for (QLineEdit* field : {concrs, combn, cmbname, txtComPort})
        field->installEventFilter(this);
    for (QLineEdit* field : {concrs, combn, txtComPort})
        field->setMaximumWidth(90);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(14);
    form->setVerticalSpacing(8);
    form->addRow(QStringLiteral("National Organization"), Combo1);
    form->addRow(QStringLiteral("Concourse"), concrs);
    form->addRow(QStringLiteral("Combine"), combn);
    form->addRow(QStringLiteral("Combine Name"), cmbname);
    form->addRow(QStringLiteral("Com Port"), txtComPort);
    form->addRow(QStringLiteral("Com device"), cboComDevice);
    form->addRow(QStringLiteral("Database server"), txtDatabaseServer);
    auto* hemispheres = new QHBoxLayout;
    hemispheres->addWidget(cboLatitudeHemisphere);
    hemispheres->addWidget(cboLongitudeHemisphere);
    hemispheres->addStretch(1);
    form->addRow(QStringLiteral("Hemispheres"), hemispheres);
    form->addRow(QStringLiteral("Velocity in"), cboVelocityUnit);

    save_config = new QPushButton(QStringLiteral("Save"), this);
    save_config->setObjectName(QStringLiteral("save_config"));
    save_config->setDefault(true);
    save_config->setMinimumWidth(96);
    connect(save_config, &QPushButton::clicked, this, &frmConfig::saveClicked);
    // Enter saves; Escape closes, which stores the fields as closing always does.
    admin_ui::keyboardDefaults(this, save_config, nullptr);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_config);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(14);
    layout->addLayout(form);
    layout->addLayout(buttons);

    for (QLineEdit* field : {concrs, combn, cmbname, txtComPort})
        connect(field, &QLineEdit::textChanged, this, &frmConfig::fieldsChanged);
    connect(Combo1, &QComboBox::currentTextChanged, this, &frmConfig::fieldsChanged);
    connect(cboComDevice, &QComboBox::currentTextChanged, this, &frmConfig::fieldsChanged);

    Combo1->addItems(nationalOrgCodes());
    LoadSettings();
    setMinimumWidth(380);
}

frmConfig::~frmConfig()
{
    if (m_context.configWindow == this)
        m_context.configWindow = nullptr;
}

ConfigValues frmConfig::fields() const
{
    return {Combo1->currentText(), concrs->text(),     combn->text(),
            cmbname->text(),       txtComPort->text(), cboComDevice->currentText().trimmed()};
}

ResultSettings frmConfig::resultFields() const
{
    ResultSettings settings;
    settings.unit =
        cboVelocityUnit->currentIndex() == 1 ? VelocityUnit::MetresPerMinute : VelocityUnit::YardsPerMinute;
    settings.hemispheres.latitude = cboLatitudeHemisphere->currentText().at(0);
    settings.hemispheres.longitude = cboLongitudeHemisphere->currentText().at(0);
    return settings;
}

void frmConfig::fieldsChanged()
{
    if (!m_loading)
        m_context.config = fields();
}

void frmConfig::fillDeviceList(const QString& current)
{
    cboComDevice->clear();
    cboComDevice->addItem(QString());
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        cboComDevice->addItem(info.systemLocation());
        cboComDevice->setItemData(cboComDevice->count() - 1, info.description(), Qt::ToolTipRole);
    }
    cboComDevice->setCurrentText(current);
}

void frmConfig::LoadSettings()
{
    m_loading = true;
    ConfigValues values;
    const auto title =
        ::LoadSettings(m_context.settings, m_context.port, m_context.dialogs, values, m_context.portOverride);
    const int index = Combo1->findText(values.nationalOrg);
    if (index >= 0)
        Combo1->setCurrentIndex(index);
    else
        Combo1->setCurrentText(values.nationalOrg);
    combn->setText(values.combine);
    concrs->setText(values.concourse);
    cmbname->setText(values.combineName);
    txtComPort->setText(values.comPort);
    fillDeviceList(values.comDevice);
    txtDatabaseServer->setText(m_context.settings.read(config_keys::DatabaseServer, QString()).trimmed());
    const ResultSettings results = readResultSettings(m_context.settings);
    cboLatitudeHemisphere->setCurrentText(results.hemispheres.latitude);
    cboLongitudeHemisphere->setCurrentText(results.hemispheres.longitude);
    cboVelocityUnit->setCurrentIndex(results.unit == VelocityUnit::MetresPerMinute ? 1 : 0);
    cboComDevice->lineEdit()->setPlaceholderText(
        m_context.portOverride.isEmpty() ? QStringLiteral("use the Com Port number")
                                         : QStringLiteral("%1 for this run").arg(m_context.portOverride));
    m_loading = false;
    m_context.config = fields();
    if (title)
        m_context.setMainTitle(*title);
}

void frmConfig::SaveSettings()
{
    const ConfigValues values = fields();
    // A device chosen here replaces the one given on the command line.
    if (!m_context.portOverride.isEmpty() &&
        values.comDevice != m_context.settings.read(config_keys::ComDevice, QString()).trimmed())
        m_context.portOverride.clear();
    m_context.setMainTitle(::SaveSettings(m_context.settings, m_context.dialogs, values));
    m_context.config = values;
    saveDatabaseServer(m_context.settings, m_context.dialogs, txtDatabaseServer->text());
    storeResultSettings(m_context.settings, m_context.dialogs, resultFields());
    // Open windows show their positions in the hemispheres just stored.
    const Hemispheres hemispheres = resultFields().hemispheres;
    if (auto* flyers = qobject_cast<frmFlyerList*>(m_context.openWindow(QStringLiteral("FlyerData"))))
        flyers->setHemispheres(hemispheres);
    if (auto* points = qobject_cast<frmLiberations*>(m_context.openWindow(QStringLiteral("liberationdata"))))
        points->setHemispheres(hemispheres);
}

void frmConfig::saveClicked()
{
    SaveSettings();
    if (m_context.port.isOpen())
        m_context.port.close();
    close();
    applyPortSettings(m_context.port, fields(), m_context.portOverride);
}

void frmConfig::closeEvent(QCloseEvent* event)
{
    SaveSettings();
    // The window is loaded again on its next use: the fields show what was stored.
    LoadSettings();
    event->accept();
}

bool frmConfig::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto* field = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, field, &QLineEdit::selectAll);
    }
    return QWidget::eventFilter(watched, event);
}
