#include "admin/windows/angle_field.h"

#include "platform/qt/window_support.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

AngleField::AngleField(QLineEdit* box, Axis axis, Dialogs& dialogs, bool& inLeaveCheck,
                       std::function<bool()> checkApplies)
    : QObject(box), m_box(box), m_axis(axis), m_hemisphere(axis == Axis::Latitude ? u'N' : u'W'),
      m_dialogs(dialogs), m_inLeaveCheck(inLeaveCheck), m_shown(new QLabel(box->parentWidget())),
      m_row(new QHBoxLayout)
{
    m_shown->setObjectName(box->objectName().replace(0, 3, QStringLiteral("lbl")) + QStringLiteral("Shown"));
    // Room for the longest reading or refusal, so that the form does not jump while one types.
    m_shown->setMinimumWidth(
        m_shown->fontMetrics().horizontalAdvance(readAngle(QStringLiteral("0"), axis, m_hemisphere).shown));
    m_box->setFixedWidth(m_box->fontMetrics().horizontalAdvance(QString(13, u'0')));
    m_row->addWidget(m_box);
    m_row->addWidget(m_shown, 1);
    connect(m_box, &QLineEdit::textChanged, this, [this] { update(); });
    admin_ui::onLeave(m_box, [this, checkApplies] {
        if (checkApplies() && !m_inLeaveCheck)
            left();
    });
}

void AngleField::setHemisphere(QChar hemisphere)
{
    m_hemisphere = hemisphere;
    update();
}

void AngleField::update()
{
    m_shown->setText(readAngle(m_box->text(), m_axis, m_hemisphere).shown);
}

bool AngleField::left()
{
    const AngleReading reading = readAngle(m_box->text(), m_axis, m_hemisphere);
    if (reading.empty || reading.degrees)
        return true;
    admin_ui::refuseLeft(m_dialogs, reading.shown, m_box, m_inLeaveCheck);
    return false;
}
