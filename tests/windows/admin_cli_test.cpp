// Each data command parses, runs the operation the windows run and exits right: 0 done, 1 refused, 2 a
// command line that does not parse. The rules and messages are the operations' own, tested there; adds and
// lists in their normal runs are the season's.
#include "support/simulated_clock_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(AdminCli, CommandsInTurnWithTheirExitCodesAndOutput)
{
    QTemporaryDir home;
    struct Step {
        QStringList arguments;
        int exitCode;
        const char* output; // standard output when done, the message when refused; nullptr: not checked
    };
    const Step steps[] = {
        {{"db", "init"}, 0, nullptr},
        {{"club", "add", "Riverside"}, 0, "  1 - Riverside\n"},
        {{"club", "add", " O'Hara \"Lofts\""}, 0, "  2 - O Hara  Lofts\n"},
        {{"club", "rename", "1", "River Side"}, 0, nullptr},
        {{"club", "list"}, 0, "  1 - River Side\n  2 - O Hara  Lofts\n"},
        {{"club", "add", " ' "}, 1, "[Error] Must enter a name!\n"},
        {{"club", "rename", "x", "X"}, 2, nullptr},
        {{"flyer", "add", "Anna", "--club", "1", "--longitude", "0974512"}, 0, "Anna\n"},
        {{"flyer", "add", "anna", "--club", "1"}, 1, "[] anna already exists, please choose another.\n"},
        {{"flyer", "add", "Bert"}, 2, nullptr},
        {{"bird", "add", "anna\t", "--org", "us", "--year", "8", "--club", "ab", "--number", "42"},
         0,
         nullptr},
        {{"bird", "add", "Anna", "--org", "UC", "--year", "08", "--club", "A", "--number", "1"},
         1,
         "[] Only AU, CA, CU, IF, MX, NP or US are allowed for Nat Org.\n"},
        {{"bird", "edit", "Anna", "US08  AB000042", "--color", "red"},
         0,
         " US08  AB000042C 0000000000 RED\n"},
        {{"flyer", "erase", "Anna", "--yes"}, 0, nullptr},
        {{"liberation", "add", "7", "7", "4", "Wichita"}, 0, "07  07/04  Wichita\n"},
        {{"liberation", "add", "8", "13", "1", "Hays"}, 1, "[] Invalid data for month \n"},
        {{"liberation", "edit", "7", "Wichita", "--number", "9"}, 0, "09  07/04  Wichita\n"},
        {{"liberation", "delete", "9", "Wichita", "--yes"}, 0, nullptr},
        {{"liberation", "list"}, 0, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.arguments.join(' ').toStdString());
        const CliRun run = runCorvexCli(QStringList{"--home", home.path()} + step.arguments);
        EXPECT_EQ(run.exitCode, step.exitCode) << run.err.toStdString();
        if (step.output) {
            EXPECT_EQ(step.exitCode == 0 ? run.out : run.err, step.output);
        }
    }
}

} // namespace
