#include "shell/frm_config.h"
#include "shell_fixture.h"
#include "support/find_child.h"
#include "support/simulated_clock.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
class FrmConfigTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        makeMainWindow();
        config = new frmConfig(*context);
        context->configWindow = config;
        config->show();
    }

    QString stored(const QString& key) { return context->settings.read(key, "<absent>"); }

    frmConfig* config = nullptr;
};

// Typed as the user types: each field takes its own keys; the organisation is picked from the list (arrows,
// a code's first letter); Enter saves, and Escape closes, which stores the fields too.
TEST_F(FrmConfigTest, KeyboardFiltersPicksSavesAndCloses)
{
    auto* port = findChildOrFail<QLineEdit>(config, "txtComPort");
    auto* concrs = findChildOrFail<QLineEdit>(config, "concrs");
    auto* combn = findChildOrFail<QLineEdit>(config, "combn");
    auto* cmbname = findChildOrFail<QLineEdit>(config, "cmbname");
    auto* combo = findChildOrFail<QComboBox>(config, "Combo1");
    port->clear();
    QTest::keyClicks(port, "a1-b2x3");
    EXPECT_EQ(port->text(), "12");
    concrs->clear();
    QTest::keyClicks(concrs, "a-_ 9Z");
    EXPECT_EQ(concrs->text(), "a_9Z");
    EXPECT_EQ(context->config.concourse, "a_9Z") << "other parts read the live fields";
    cmbname->clear();
    QTest::keyClicks(cmbname, "Twenty-five characters!!!");
    EXPECT_EQ(cmbname->text(), "Twenty-five characte");

    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentText(), "CA");
    QTest::keyClicks(combo, "u");
    EXPECT_EQ(combo->currentText(), "US");

    findChildOrFail<QLineEdit>(config, "txtDatabaseServer")->setText("postgresql://db.club/corvex");
    QTest::keyClick(concrs, Qt::Key_Return);
    EXPECT_FALSE(config->isVisible());
    EXPECT_EQ(QStringList({stored("NationalOrg"), stored("Concourse"), stored("CombineName"),
                           stored("DatabaseServer")}),
              (QStringList{"US", "A_9Z", "Twenty-five characte", "postgresql://db.club/corvex"}));
    EXPECT_EQ(concrs->text(), "A_9Z") << "loaded again from the store";

    config->show();
    combn->clear();
    QTest::keyClicks(combn, "7");
    QTest::keyClick(port, Qt::Key_Escape);
    EXPECT_FALSE(config->isVisible());
    EXPECT_EQ(stored("Combine"), "70");
    EXPECT_EQ(window->windowTitle(), "Corvex     Concourse = A_9Z Combine = 70");
}

// A device given on the command line holds, never stored, until another is saved; saving closes the port.
TEST_F(ShellTest, PortOptionHoldsUntilAnotherDeviceIsSavedWhichClosesThePort)
{
    makeContext("/dev/pts/77");
    auto* config = new frmConfig(*context);
    context->configWindow = config;
    config->close(); // nothing changed: the run keeps the device of the command line
    EXPECT_EQ(context->port.deviceName(), "/dev/pts/77");
    EXPECT_EQ(context->settings.read("ComDevice", "<absent>"), "");

    SimulatedClock clock;
    ASSERT_TRUE(clock.started());
    context->port.setDevicePath(clock.devicePath());
    ASSERT_EQ(context->port.open(), SerialPort::OpenResult::Opened);
    config->show();
    findChildOrFail<QComboBox>(config, "cboComDevice")->setCurrentText("/dev/ttyUSB3"); // a device not listed
    findChildOrFail<QLineEdit>(config, "txtComPort")->setText("4");
    findChildOrFail<QPushButton>(config, "save_config")->click();
    EXPECT_FALSE(context->port.isOpen());
    EXPECT_EQ(context->port.deviceName() + "|" + QString::number(context->port.portNumber()),
              "/dev/ttyUSB3|4");
    EXPECT_EQ(context->settings.read("ComDevice", {}) + "|" + context->settings.read("ComPorts", {}),
              "/dev/ttyUSB3|4");
}
} // namespace
