// Feeds arbitrary bytes to the readers of the DOS administration and bird files, and cuts every record they
// return into its parts.
#include "database/schema.h"
#include "dosimport/dos_files.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)readDosFields(bytes);
    for (const FlyerRecord& record : parseAdminFile(bytes)) {
        if (record.birdFileNameValid() && !record.birdFileName().startsWith(QLatin1Char('Z')))
            __builtin_trap();
    }
    for (const QString& record : parseBirdFile(bytes)) {
        const Bird bird = birdFromRecord(record, 1);
        if (bird.band().size() > 14)
            __builtin_trap();
    }
    return 0;
}
