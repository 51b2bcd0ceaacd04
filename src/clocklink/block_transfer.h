#pragma once

#include <QByteArray>
#include <QString>

class CommandExchange;
class Progress;

// The two series of the memory module. A flag is set by the clock's ACK and cleared only by its EOT; while
// set, the next read asks with ACK instead of the series letter.
struct SeriesFlags {
    bool race = false;
    bool admin = false;
};

// The next answer of the race series ("W").
QByteArray ReadNextRaceBlock(CommandExchange& exchange, SeriesFlags& flags);
// The next answer of the administration series ("X").
QByteArray ReadNextBlock(CommandExchange& exchange, SeriesFlags& flags);

// Reads the administration series up to its S3 record with a progress count, sends "R" and returns 20
// characters of the S3 record from position 13. Stops with an empty name on a failed exchange, an empty
// answer or EOT. lastBlock receives the last block read.
QString ReadAdminHeaderName(CommandExchange& exchange, SeriesFlags& flags, Progress& progress,
                            QByteArray* lastBlock = nullptr);

inline const QString kBlocksTransferred = QStringLiteral("Blocks Transferred");
