#include "support/simulated_clock.h"

TEST(ClockStatusFormats, HexadecimalSerials)
{
    const struct {
        const char* text;
        quint64 value;
        bool hex;
        const char* shown;
    } cases[] = {
        {"00FF", 255, true, "0255"},
        {"FFFF", 65535, true, "65535"},
        {"1G", 16, false, "0016"}, // a character that is no hexadecimal digit counts 0
        {"", 0, true, "0000"},
        {"ff", 255, true, "0255"},
        {"FFFFFFFF", 4294967295u, true, "4294967295"},
        {" 1", 1, false, "0001"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexToNumber(c.text), c.value) << c.text;
        EXPECT_EQ(IsHexText(c.text), c.hex) << c.text;
        EXPECT_EQ(formatSerial(c.text), c.shown) << c.text;
    }
}

TEST(ClockStatusFormats, VersionsAndStatusTexts)
{
    const std::pair<double, const char*> versions[] = {
        {1.23, "1.23"}, {1.5, "1.50"}, {0, "0.00"}, {1.05, "1.05"}};
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

// RBM answer 0123 at 2-5, 0100 at 6-9, 3 at 13, 000000FF at 14-21; PCF version 105 and serial 00FF.
TEST_F(QueryVersionTest, ExampleAnswerFillsTheIdentity)
{
    EXPECT_EQ(link().queryVersion(), QByteArray());
    const ClockIdentity& id = link().identity;
    EXPECT_DOUBLE_EQ(id.rbmSecondVersion, 1.00);
    EXPECT_EQ(id.rbmSerial, "000000FF");
    const ClockStatusPanels panels = clockStatusTexts(id);
    EXPECT_EQ(QStringList(
                  {panels.rbmVersion, panels.rbmSerial, panels.pcfVersion, panels.pcfSerial, panels.status}),
              QStringList({"1.23", "0255", "1.05", "0255", "RBM in Race Mode, no birds logged"}));

    const auto frames = sim.frames();
    ASSERT_EQ(frames.size(), 3u);
    // "v" to the RBM and to the PCF, byte for byte.
    EXPECT_EQ(frames[0].raw, QByteArray("\x02\x81\x76\xF7\x80\x03", 6));
    EXPECT_EQ(frames[1].raw, QByteArray("\x02\x76\x76\x80\x03", 5));
    EXPECT_TRUE(!frames[2].rbm && frames[2].command == "e00");
    EXPECT_EQ(exchange().AddressPrefix(), kRbmAddress);
}

// After a good query: no answer (E2, one box) and a lone "v" (E9, no box) leave the PCF unasked and keep
// the old status and PCF values; a damaged answer reads as zeroes and the PCF is still asked.
TEST_F(QueryVersionTest, RbmAnswersThatGiveNoIdentity)
{
    QByteArray spoiled = ClockDevice::frameAnswer("v012301000008000000FF");
    spoiled[spoiled.size() - 2] = static_cast<char>(spoiled[spoiled.size() - 2] ^ 0x01);
    const std::tuple<QByteArray, QByteArray, qsizetype, size_t, QString> cases[] = {
        // the RBM's answer, the result, commands written, boxes, the status digit afterwards
        {"", "E2", 1, 1, "3"},
        {ClockDevice::frameAnswer("v"), "E9", 1, 0, "3"},
        {spoiled, "", 3, 0, "0"},
    };
    for (const auto& [answer, code, commands, boxes, status] : cases) {
        SCOPED_TRACE(code.toStdString());
        link().identity = {};
        ASSERT_EQ(link().queryVersion(), QByteArray());
        sim.clearFrames();
        dialogs.clearLog();
        sim.queueRawAnswer(answer);
        EXPECT_EQ(link().queryVersion(), code);
        const ClockIdentity& id = link().identity;
        EXPECT_TRUE(id.rbmSerial.isEmpty());
        EXPECT_DOUBLE_EQ(id.rbmVersion, 0);
        EXPECT_EQ(id.statusDigit, status);
        EXPECT_EQ(id.pcfSerial, "00FF");
        EXPECT_EQ(sim.commands().size(), commands);
        EXPECT_EQ(dialogs.log().size(), boxes);
        EXPECT_EQ(exchange().AddressPrefix(), kRbmAddress);
    }
}

TEST_F(QueryVersionTest, ShortAndFailedAnswersNeverReadPastTheirEnd)
{
    // A status that is no digit reads as 0; short fields are Mid's own test.
    sim.update([](ClockScenario& s) { s.rbm.status = "x"; });
    EXPECT_EQ(link().queryVersion(), QByteArray());
    EXPECT_EQ(link().identity.statusDigit, "0");

    // The RBM answers; the PCF's two questions go unanswered: zeroes, one E2 box each, the query goes on.
    sim.queueAnswerText("v012301000008000000FF");
    sim.queueRawAnswer("");
    sim.queueRawAnswer("");
    EXPECT_EQ(link().queryVersion(), QByteArray());
    EXPECT_EQ(link().identity.statusDigit, "8");
    EXPECT_DOUBLE_EQ(link().identity.pcfVersion, 0);
    EXPECT_TRUE(link().identity.pcfSerial.isEmpty());
    EXPECT_EQ(dialogs.log().size(), 2u);
}
