// Feeds arbitrary bytes to the readers of administration records from the memory module: every line is cut
// as a bird record and as header records, as the inventory receive does.
#include "admin/admin_records.h"
#include "admin/clean_text.h"
#include "common/text_codec.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& line : bytes.split('\n')) {
        QString record = fromWindows1252(line);
        const Bird bird = birdFromZRecord(record);
        // A whole bird record cut apart and joined again is the record.
        if (record.size() >= admin_record::kZLength && record.startsWith(QLatin1Char('Z')) &&
            buildZRecord(bird) != record.left(admin_record::kZLength))
            std::abort();
        if (bird.band().size() > 14 || zRecordBand(record).size() > 14)
            std::abort();
        (void)isClearedRecord(record);
        const QString cleaned = CleanText(record);
        if (s3FlyerName(cleaned).size() > 20)
            std::abort();
    }
    return 0;
}
