// Feeds arbitrary bytes as a race file through the race report: records, every race's fields, list, report
// file lines, preview text and printed lines.
#include "reports/owner_lookup.h"
#include "reports/race_result.h"
#include "reports/report_document.h"

#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const RaceFileContent content = raceFileContent(bytes);
    NoOwnerLookup owners;
    const qsizetype races = std::min<qsizetype>(content.headers.size(), 16);
    for (int race = -1; race <= races; ++race) {
        const RaceResult result = computeRaceResult(content, race, owners);
        for (const QString& line : result.listLines) {
            if (line.size() != 54)
                __builtin_trap();
        }
        (void)previewText(result.fields, result.listLines);
        (void)printedLines(result.fields, result.listLines);
        (void)isSafeReportFileName(result.reportFileName);
    }
    return 0;
}
