#include "common/pad_field.h"
#include "common/text_codec.h"
#include "common/today.h"

#include <gtest/gtest.h>

TEST(PadField, FillsOrCutsOnTheJustifiedSide)
{
    // {text, width, fill, left-justified, field}
    const std::tuple<QString, int, char, bool, QString> cases[] = {
        {"ABCDEFG", 4, ' ', true, "ABCD"},     {"  AB  ", 4, ' ', false, "  AB"},
        {"", 20, ' ', true, QString(20, ' ')}, {"xyz", 0, ' ', true, ""},
        {"ABCD", 4, '-', true, "ABCD"},        {"ABCD", 4, '-', false, "ABCD"},
        {"ABC", 4, '-', true, "ABC-"},         {"ABC", 4, '-', false, "-ABC"},
        {"ABCDE", 4, '-', false, "BCDE"},      {" 12345 ", 6, '0', false, "012345"},
    };
    for (const auto& [text, width, fill, left, field] : cases)
        EXPECT_EQ(PadField(text, width, QLatin1Char(fill), left), field)
            << text.toStdString() << " to " << width << (left ? " left" : " right");
}

TEST(Mid, NeverReadsPastTheRecord)
{
    EXPECT_EQ(Mid("S3   0107042Name", 13, 20), "Name");
    EXPECT_EQ(Mid("short", 13, 20), "");
    EXPECT_EQ(Mid("abc", 0, 2), "");
    EXPECT_EQ(Mid("abc", 2), "bc");
}

TEST(TextCodec, SingleBytesRoundTripUnmappableIsAQuestionMarkAndControlsAreSpaces)
{
    const QString text = QStringLiteral("Müller €5 ÿ");
    EXPECT_EQ(fromWindows1252(toWindows1252(text)), text);
    EXPECT_EQ(toWindows1252(text).size(), text.size());
    EXPECT_EQ(toWindows1252(QStringLiteral("漢x")), QByteArray("?x"));
    // {bytes from the clock, as read, as the DOS program meant them (code page 437)}
    const std::tuple<QByteArray, QString, QString> records[] = {
        {QByteArray("AB\0CD\x1b[2J\x7f\x1f ", 12), "AB CD [2J   ", "AB CD [2J   "},
        {"M\x81LLER \x8e\x99", "M\u0081LLER Ž\u2122", "MüLLER ÄÖ"},
        {"M\xfcller", "Müller", "M\u207Fller"},
    };
    for (const auto& [bytes, read, dos] : records) {
        EXPECT_EQ(decodeRecord(bytes), read);
        EXPECT_EQ(dosReading(decodeRecord(bytes)), dos);
        EXPECT_EQ(toWindows1252(decodeRecord(bytes)).size(), bytes.size());
    }
}

TEST(Today, TwoDigitYearsFallWithinTwentyYearsAhead)
{
    const QDate today(2026, 12, 6);
    EXPECT_EQ(expandTwoDigitYear(0, today), 2000);
    EXPECT_EQ(expandTwoDigitYear(46, today), 2046);
    EXPECT_EQ(expandTwoDigitYear(47, today), 1947);
    EXPECT_EQ(expandTwoDigitYear(99, today), 1999);
}
