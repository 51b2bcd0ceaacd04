#include "clocklink/block_transfer.h"

#include "clocklink/command_exchange.h"
#include "common/pad_field.h"
#include "common/text_codec.h"
#include "platform/progress.h"

namespace {
QByteArray readNext(CommandExchange& exchange, bool& flag, char letter)
{
    const QByteArray command = flag ? control::text(control::ACK) : QByteArray(1, letter);
    const QByteArray answer = exchange.SendCommand(command);
    if (answer == control::text(control::ACK))
        flag = true;
    else if (answer == control::text(control::EOT))
        flag = false;
    return answer;
}
} // namespace

QByteArray ReadNextRaceBlock(CommandExchange& exchange, SeriesFlags& flags)
{
    return readNext(exchange, flags.race, 'W');
}

QByteArray ReadNextBlock(CommandExchange& exchange, SeriesFlags& flags)
{
    return readNext(exchange, flags.admin, 'X');
}

void endBlockSeries(CommandExchange& exchange, bool& flag)
{
    exchange.SendCommand(control::text(control::EOT));
    flag = false;
}

QString ReadAdminHeaderName(CommandExchange& exchange, SeriesFlags& flags, Progress& progress,
                            QByteArray* lastBlock)
{
    progress.show();
    progress.repaint();
    SeriesBound bound(module_capacity::kAdminRecords);
    int count = 0;
    QByteArray block;
    for (;;) {
        ++count;
        block = ReadNextBlock(exchange, flags);
        if (lastBlock)
            *lastBlock = block;
        if (block.size() > 1 && !isFailureCode(block)) {
            progress.setLowerLine(QString::number(count) + ' ' + kBlocksTransferred);
            progress.repaint();
        }
        if (block.startsWith("S3"))
            break;
        if (block.isEmpty() || isFailureCode(block) || block == control::text(control::EOT)) {
            progress.close();
            return {};
        }
        if (!bound.admit(block)) {
            progress.close();
            endBlockSeries(exchange, flags.admin);
            exchange.dialogs().inform(kInventoryNotEnded, kApplicationTitle);
            return {};
        }
    }
    progress.close();
    exchange.SendCommand(QByteArrayLiteral("R"));
    return Mid(decodeRecord(block), 13, 20);
}
