#include "model/clock_device.h"

#include "common/text_codec.h"

namespace {
constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char kRbmAddress = static_cast<char>(0x81);
constexpr int kHeaderLengths[] = {34, 37, 46};

// The clock's own checksum: the program must agree with it byte for byte, so it is not shared.
QByteArray checksum(const QByteArray& text)
{
    quint32 sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    unsigned lo = sum % 256;
    unsigned hi = (sum / 256) % 256;
    if (lo < 32)
        lo += 128;
    if (hi < 32)
        hi += 128;
    QByteArray result;
    result.append(static_cast<char>(lo));
    result.append(static_cast<char>(hi));
    return result;
}

QByteArray digits(int value, int width)
{
    return QByteArray::number(value).rightJustified(width, '0', true);
}
} // namespace

ClockDevice::ClockDevice(ClockScenario scenario) : m_scenario(std::move(scenario)) {}

void ClockDevice::setScenario(const ClockScenario& scenario)
{
    m_scenario = scenario;
    m_series = Series::None;
}

QByteArray ClockDevice::frameAnswer(const QByteArray& text)
{
    const QByteArray body = kLeadingCharacter + text;
    return STX + body + checksum(body) + ETX;
}

QList<QByteArray> ClockDevice::commands() const
{
    QList<QByteArray> list;
    for (const ReceivedFrame& frame : m_frames)
        list << frame.command;
    return list;
}

bool ClockDevice::consume(int& counter)
{
    if (counter == 0)
        return false;
    if (counter > 0)
        --counter;
    return true;
}

QByteArray ClockDevice::receive(const QByteArray& bytes)
{
    QByteArray answer;
    for (char byte : bytes)
        answer += handleByte(byte);
    return answer;
}

QByteArray ClockDevice::handleByte(char byte)
{
    if (byte == STX) {
        // A new STX abandons a frame that never ended.
        m_inFrame = true;
        m_partial = QByteArray(1, STX);
        return {};
    }
    if (m_inFrame) {
        m_partial += byte;
        if (byte != ETX)
            return {};
        m_inFrame = false;
        return handleFrame(m_partial);
    }
    if (byte == ACK || byte == NAK || byte == EOT)
        return handleBare(byte);
    return {}; // line noise between frames
}

QByteArray ClockDevice::deliver(QByteArray answer, bool framed)
{
    if (framed) {
        answer = frameAnswer(answer);
        if (consume(m_faults.badChecksum))
            answer[answer.size() - 3] = static_cast<char>(answer[answer.size() - 3] ^ 0x01);
        if (consume(m_faults.missingEtx))
            answer.chop(1);
        if (consume(m_faults.trailingBytes))
            answer += "\r\n";
    }
    m_lastAnswer = answer;
    return answer;
}

QByteArray ClockDevice::handleFrame(const QByteArray& raw)
{
    ReceivedFrame frame;
    frame.raw = raw;
    const QByteArray body = raw.mid(1, raw.size() - 4);
    frame.checksumOk = raw.size() >= 5 && checksum(body) == raw.mid(raw.size() - 3, 2);
    frame.rbm = body.startsWith(kRbmAddress);
    frame.command = frame.rbm ? body.mid(1) : body;
    m_frames.push_back(frame);

    if (m_unplugged || consume(m_faults.silentAnswers))
        return {};
    if (consume(m_faults.nakFrames) || !frame.checksumOk || frame.command.isEmpty())
        return deliver(QByteArray(1, NAK), false);
    if (!m_scripted.empty()) {
        const Scripted scripted = m_scripted.front();
        m_scripted.pop_front();
        return deliver(scripted.bytes, scripted.framed);
    }
    return frame.rbm ? answerRbm(frame.command) : answerPcf(frame.command);
}

QByteArray ClockDevice::handleBare(char byte)
{
    m_frames.push_back({QByteArray(1, byte), true, false, QByteArray(1, byte), true});
    if (m_unplugged || consume(m_faults.silentAnswers))
        return {};
    if (!m_scripted.empty()) {
        const Scripted scripted = m_scripted.front();
        m_scripted.pop_front();
        return deliver(scripted.bytes, scripted.framed);
    }
    switch (byte) {
    case ACK:
        // An ACK outside a series has nothing to hand out: the series is over.
        if (m_series == Series::None)
            return deliver(QByteArray(1, EOT), false);
        return nextSeriesAnswer();
    case NAK:
        // The program did not understand the last answer: say it again.
        return m_lastAnswer.isEmpty() ? deliver(QByteArray(1, NAK), false) : m_lastAnswer;
    default: // EOT
        m_series = Series::None;
        return deliver(QByteArray(1, ACK), false);
    }
}

QList<QByteArray> ClockDevice::adminRecords() const
{
    QList<QByteArray> records;
    const QString headers[] = {m_scenario.s1, m_scenario.s2, m_scenario.s3};
    for (int i = 0; i < 3; ++i) {
        if (headers[i].isEmpty()) {
            // A module without inventory: "S1", "S2", "S3" followed by asterisks.
            records << QByteArray("S") + QByteArray::number(i + 1).leftJustified(kHeaderLengths[i] - 1, '*');
        } else {
            records << toWindows1252(headers[i]);
        }
    }
    for (const QString& bird : m_scenario.birds)
        records << toWindows1252(bird);
    return records;
}

QByteArray ClockDevice::nextSeriesAnswer()
{
    if (m_faults.unplugAfterRecords >= 0 && m_seriesRecords >= m_faults.unplugAfterRecords) {
        m_unplugged = true;
        m_faults.unplugAfterRecords = -1;
        return {};
    }
    QList<QByteArray> records;
    if (m_series == Series::Admin) {
        records = adminRecords();
    } else {
        for (const QString& race : m_scenario.races)
            records << toWindows1252(race);
    }
    if (m_seriesIndex >= records.size()) {
        m_series = Series::None;
        return deliver(QByteArray(1, EOT), false);
    }
    ++m_seriesRecords;
    return deliver(records.at(m_seriesIndex++), true);
}

QByteArray ClockDevice::answerRbm(const QByteArray& command)
{
    const QByteArray ack(1, ACK);
    if (command == "v") {
        const QByteArray status =
            m_scenario.rbm.status.isEmpty() ? QByteArray("0") : toWindows1252(m_scenario.rbm.status.left(1));
        return deliver("v" + digits(m_scenario.rbm.version, 4) + digits(m_scenario.rbm.second, 4) + "000" +
                           status + toWindows1252(m_scenario.rbm.serial),
                       true);
    }
    if (command == "X" || command == "W") {
        if (command == "W" && m_flightDue) {
            m_scenario.races = flyRaces(m_scenario, *m_flightPlan);
            m_flightDue = false;
        }
        m_series = command == "X" ? Series::Admin : Series::Race;
        m_seriesIndex = 0;
        m_seriesRecords = 0;
        return deliver(ack, false);
    }
    if (command == "R") {
        m_series = Series::None;
        return deliver(ack, false);
    }
    const QString record = fromWindows1252(command);
    if (command.startsWith("S1")) {
        // A new inventory replaces the old one.
        m_scenario.s1 = record;
        m_scenario.s2.clear();
        m_scenario.s3.clear();
        m_scenario.birds.clear();
        return deliver(ack, false);
    }
    if (command.startsWith("S2")) {
        m_scenario.s2 = record;
        return deliver(ack, false);
    }
    if (command.startsWith("S3")) {
        m_scenario.s3 = record;
        return deliver(ack, false);
    }
    if (command.startsWith('Z')) {
        m_scenario.birds << record;
        return deliver(ack, false);
    }
    if (command == "IC0") {
        m_scenario.liberations.clear();
        m_flightDue = m_flightPlan.has_value();
        return deliver(ack, false);
    }
    if (command.startsWith("I0")) {
        m_scenario.liberations << record;
        m_flightDue = m_flightPlan.has_value();
        return deliver(ack, false);
    }
    return deliver(QByteArray(1, NAK), false);
}

QByteArray ClockDevice::answerPcf(const QByteArray& command)
{
    if (command == "v")
        return deliver("PV" + digits(m_scenario.pcf.version, 3), true);
    if (command == "e00")
        return deliver("e00" + toWindows1252(m_scenario.pcf.serial), true);
    return deliver(QByteArray(1, NAK), false);
}
