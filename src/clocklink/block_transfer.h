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

// What a memory module holds at most. Every series read stops there, so that a clock that never ends a
// series cannot hold the program: at 9600 baud the longest series of this size takes under a minute.
namespace module_capacity {
constexpr int kBirds = 500;
constexpr int kAdminRecords = 3 + kBirds; // S1, S2, S3 and the birds
constexpr int kRaceRecords = 11 + kBirds; // eleven flights and the clockings of 500 birds
} // namespace module_capacity

// Counts the answers of one series read. A series holds at most maxRecords records and two lone answers
// (the ACK that opens it and the EOT that ends it); a few more are tolerated, each costs a settle wait.
class SeriesBound {
public:
    explicit SeriesBound(int maxRecords) : m_maxRecords(maxRecords) {}
    // Counts the answer; false once the series has run past the bound.
    bool admit(const QByteArray& answer)
    {
        ++(answer.size() > 1 ? m_records : m_loneAnswers);
        return m_records <= m_maxRecords && m_loneAnswers <= kMaxLoneAnswers;
    }
    static constexpr int kMaxLoneAnswers = 20;

private:
    int m_maxRecords;
    int m_records = 0;
    int m_loneAnswers = 0;
};

// Ends a series the clock did not end: EOT to the clock, and the next read starts afresh.
void endBlockSeries(CommandExchange& exchange, bool& flag);

// Reads the administration series up to its S3 record with a progress count, sends "R" and returns 20
// characters of the S3 record from position 13. Stops with an empty name on a failed exchange, an empty
// answer, EOT, or a series longer than a module holds (said in a box). lastBlock receives the last block
// read.
QString ReadAdminHeaderName(CommandExchange& exchange, SeriesFlags& flags, Progress& progress,
                            QByteArray* lastBlock = nullptr);

inline const QString kBlocksTransferred = QStringLiteral("Blocks Transferred");
inline const QString kInventoryNotEnded = QStringLiteral("The RBM did not end its inventory.");
