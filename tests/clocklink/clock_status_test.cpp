#include "support/simulated_clock.h"

namespace {
struct HexCase {
    const char* text;
    quint64 value;
    bool hex;
    const char* shown;
};
} // namespace

TEST(ClockStatusFormats, HexadecimalSerials)
{
    const HexCase cases[] = {
        {"00FF", 255, true, "0255"},
        {"FFFF", 65535, true, "65535"},
        {"1G", 16, false, "0016"},
        {"", 0, true, "0000"},
        {"ff", 255, true, "0255"},
        {"000000FF", 255, true, "0255"},
        {"FFFFFFFF", 4294967295u, true, "4294967295"},
        {"00003039", 12345, true, "12345"},
        {" 1", 1, false, "0001"},
    };
    for (const HexCase& c : cases) {
        EXPECT_EQ(HexToNumber(c.text), c.value) << c.text;
        EXPECT_EQ(IsHexText(c.text), c.hex) << c.text;
        EXPECT_EQ(formatSerial(c.text), c.shown) << c.text;
    }
}

TEST(ClockStatusFormats, VersionsAndStatusTexts)
{
    const std::pair<double, const char*> versions[] = {
        {1.23, "1.23"}, {1.5, "1.50"}, {0, "0.00"}, {99.99, "99.99"}, {1.05, "1.05"}};
    for (const auto& [version, shown] : versions)
        EXPECT_EQ(formatVersion(version), shown);
    const std::pair<const char*, const char*> statuses[] = {{"", "CORVEX NOT CONNECTED"},
                                                            {"0", "No race in RBM "},
                                                            {"1", "RBM in race mode"},
                                                            {"2", "Race flag in mode 2 (?)"},
                                                            {"3", "RBM in Race Mode, no birds logged"},
                                                            {"8", "New inventory in RBM"},
                                                            {"5", ""}};
    for (const auto& [digit, text] : statuses)
        EXPECT_EQ(statusTextForDigit(digit), text) << digit;
}

class QueryVersionTest : public SimulatedClockTest {};

TEST_F(QueryVersionTest, ExampleAnswerFillsTheIdentity)
{
    EXPECT_EQ(link().queryVersion(), QByteArray());
    const ClockIdentity& id = link().identity;
    EXPECT_DOUBLE_EQ(id.rbmVersion, 1.23);
    EXPECT_DOUBLE_EQ(id.rbmSecondVersion, 1.00);
    EXPECT_EQ(id.rbmSerial, "000000FF");
    EXPECT_EQ(id.statusDigit, "3");
    EXPECT_DOUBLE_EQ(id.pcfVersion, 1.05);
    EXPECT_EQ(id.pcfSerial, "00FF");

    const ClockStatusPanels panels = clockStatusTexts(id);
    EXPECT_EQ(panels.rbmVersion, "1.23");
    EXPECT_EQ(panels.rbmSerial, "0255");
    EXPECT_EQ(panels.pcfVersion, "1.05");
    EXPECT_EQ(panels.pcfSerial, "0255");
    EXPECT_EQ(panels.status, "RBM in Race Mode, no birds logged");

    const auto frames = sim.frames();
    ASSERT_EQ(frames.size(), 3u);
    // "v" to the RBM and to the PCF, byte for byte.
    EXPECT_EQ(frames[0].raw, QByteArray("\x02\x81\x76\xF7\x80\x03", 6));
    EXPECT_EQ(frames[1].raw, QByteArray("\x02\x76\x76\x80\x03", 5));
    EXPECT_TRUE(!frames[2].rbm && frames[2].command == "e00");
    EXPECT_EQ(exchange().AddressPrefix(), kRbmAddress);
}

TEST_F(QueryVersionTest, NoRbmAnswerLeavesThePcfUnaskedAndKeepsOldValues)
{
    ASSERT_EQ(link().queryVersion(), QByteArray());
    sim.clearFrames();
    sim.setSilent(true);
    EXPECT_EQ(link().queryVersion(), "E2");
    EXPECT_EQ(sim.commands(), QList<QByteArray>{"v"});
    const ClockIdentity& id = link().identity;
    EXPECT_TRUE(id.rbmSerial.isEmpty());
    EXPECT_DOUBLE_EQ(id.rbmVersion, 0);
    EXPECT_EQ(id.statusDigit, "3");
    EXPECT_EQ(id.pcfSerial, "00FF");
    EXPECT_EQ(dialogs.log().size(), 1u);
    EXPECT_EQ(exchange().AddressPrefix(), kRbmAddress);
}

TEST_F(QueryVersionTest, SingleLetterVIsE9WithoutAMessage)
{
    sim.queueAnswerText("v");
    EXPECT_EQ(link().queryVersion(), "E9");
    EXPECT_FALSE(link().identity.connected());
    EXPECT_EQ(sim.commands(), QList<QByteArray>{"v"});
    EXPECT_TRUE(dialogs.log().empty());
}

TEST_F(QueryVersionTest, DamagedAnswerReadsAsZeroesAndThePcfIsStillAsked)
{
    sim.changeFaults([](ClockFaults& f) { f.badChecksum = 1; });
    EXPECT_EQ(link().queryVersion(), QByteArray());
    const ClockIdentity& id = link().identity;
    EXPECT_DOUBLE_EQ(id.rbmVersion, 0);
    EXPECT_EQ(id.statusDigit, "0");
    EXPECT_TRUE(id.rbmSerial.isEmpty());
    EXPECT_EQ(id.pcfSerial, "00FF");
    EXPECT_EQ(sim.commands().size(), 3);
}

TEST_F(QueryVersionTest, ShortAndOddAnswersNeverReadPastTheirEnd)
{
    sim.update([](ClockScenario& s) {
        s.rbm.status = "x";
        s.rbm.serial = "12";
        s.pcf.serial = "";
    });
    EXPECT_EQ(link().queryVersion(), QByteArray());
    const ClockIdentity& id = link().identity;
    EXPECT_EQ(id.statusDigit, "0");
    EXPECT_EQ(id.rbmSerial, "12");
    EXPECT_EQ(id.pcfSerial, "");
    EXPECT_EQ(clockStatusTexts(id).rbmSerial, "0018");
}

TEST_F(QueryVersionTest, PcfFailureGivesZeroesWithoutStoppingTheQuery)
{
    // The RBM answers; the PCF's two questions go unanswered.
    sim.queueAnswerText("v012301000008000000FF");
    sim.queueRawAnswer("");
    sim.queueRawAnswer("");
    EXPECT_EQ(link().queryVersion(), QByteArray());
    const ClockIdentity& id = link().identity;
    EXPECT_EQ(id.statusDigit, "8");
    EXPECT_DOUBLE_EQ(id.pcfVersion, 0);
    EXPECT_TRUE(id.pcfSerial.isEmpty());
    EXPECT_EQ(dialogs.log().size(), 2u); // one E2 box per PCF question
}
