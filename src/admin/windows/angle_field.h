#pragma once

#include "common/position.h"

#include <QObject>
#include <functional>

class Dialogs;
class QHBoxLayout;
class QLabel;
class QLineEdit;

// Beside a box that takes a latitude or a longitude: what its digits are read as (41°52'30" N), updated as
// one types, so that a typing error shows at once. Leaving the box with digits that do not read (too few,
// minutes of 60) refuses them there.
class AngleField : public QObject {
public:
    // checkApplies tells whether leaving the box is checked now; inLeaveCheck is the window's flag that a
    // refusal is being shown, so that the focus moves it causes start no other check.
    AngleField(QLineEdit* box, Axis axis, Dialogs& dialogs, bool& inLeaveCheck,
               std::function<bool()> checkApplies);

    // The box with the label beside it, for the window's form.
    QHBoxLayout* row() const { return m_row; }
    QLabel* shown() const { return m_shown; }
    void setHemisphere(QChar hemisphere);
    // The check run when the box is left; false when the digits were refused.
    bool left();

private:
    void update();

    QLineEdit* m_box;
    Axis m_axis;
    QChar m_hemisphere;
    Dialogs& m_dialogs;
    bool& m_inLeaveCheck;
    QLabel* m_shown;
    QHBoxLayout* m_row;
};
