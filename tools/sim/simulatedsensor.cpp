#include "sim/simulatedsensor.h"

#include "protocol/checksum.h"

#include <QDateTime>

#include <algorithm>

namespace {

// Request codes the sensor knows.
enum Command : quint8 {
    ReadLive = 0x03,
    SetZeroMode = 0x05,
    Save = 0x0A,
    SetBaud = 0x0B,
    SetOutputTiming = 0x0C,
    QueryZeroMode = 0x0D,
    FactoryReset = 0x0E,
    SetAddress = 0x0F,
    ReadAddress = 0x1F,
    SetMotionThreshold = 0x42,
    SetMotionDuration = 0x53,
    SetSleep = 0x56,
    QuerySleep = 0x57,
    ReadAscending = 0x61,
    StopReading = 0x62,
    EraseRecords = 0x63,
    SetDateTime = 0x65,
    QueryDateTime = 0x66,
    FactoryFollowUp = 0x68,
    SetUploadMode = 0x69,
    SetInstallation = 0x6A,
    SetAlarm = 0x6B,
    ReadDescending = 0x6D,
};

constexpr char frameHeader = 0x77;
constexpr int emptyLength = 7; // LEN of a frame without data
constexpr int defaultInputGapMs = 250;
constexpr int defaultEraseDelayMs = 6000;

// Codes below the read-address code are answered with the high bit set, the rest with their own.
quint8 replyCode(quint8 command)
{
    return command < ReadAddress ? quint8(command + 0x80) : command;
}

quint16 be16(const QByteArray &data, int at)
{
    return quint16(quint8(data.at(at)) << 8 | quint8(data.at(at + 1)));
}

quint32 be32(const QByteArray &data, int at)
{
    return quint32(be16(data, at)) << 16 | be16(data, at + 2);
}

char bcdByte(int value)
{
    return char((value / 10 % 10) << 4 | value % 10);
}

// A set command: how many data bytes it carries and where they go.
struct SetCommand
{
    quint8 code;
    int size;
    void (*store)(SensorSettings &, const QByteArray &);
};

const SetCommand setCommands[] = {
    {SetAddress, 4, [](SensorSettings &s, const QByteArray &d) { s.address = be32(d, 0); }},
    {SetBaud, 1, [](SensorSettings &s, const QByteArray &d) { s.baudCode = quint8(d.at(0)); }},
    {SetUploadMode, 1,
     [](SensorSettings &s, const QByteArray &d) { s.uploadMode = quint8(d.at(0)); }},
    {SetZeroMode, 1, [](SensorSettings &s, const QByteArray &d) { s.zeroMode = quint8(d.at(0)); }},
    {SetOutputTiming, 4,
     [](SensorSettings &s, const QByteArray &d) {
         // Byte 0 is always 0x00; the interval is the low byte of a 16-bit field.
         s.outputInterval = quint8(d.at(1));
         s.holdTime = be16(d, 2);
     }},
    {SetSleep, 2, [](SensorSettings &s, const QByteArray &d) { s.sleepPeriod = be16(d, 0); }},
    {SetAlarm, 2, [](SensorSettings &s, const QByteArray &d) { s.alarmThreshold = be16(d, 0); }},
    {SetMotionDuration, 1,
     [](SensorSettings &s, const QByteArray &d) { s.motionDuration = quint8(d.at(0)); }},
    {SetMotionThreshold, 2,
     [](SensorSettings &s, const QByteArray &d) { s.motionThreshold = be16(d, 0); }},
    {SetInstallation, 1,
     [](SensorSettings &s, const QByteArray &d) { s.installation = quint8(d.at(0)); }},
    {SetDateTime, 6, [](SensorSettings &s, const QByteArray &d) { s.dateTime = d.left(6); }},
};

} // namespace

SimulatedSensor::SimulatedSensor(QObject *parent)
    : QObject(parent)
{
    clock.start();
    module.setAddress(current.address);
    inputTimer.setSingleShot(true);
    inputTimer.setInterval(defaultInputGapMs);
    connect(&inputTimer, &QTimer::timeout, this, [this] { take(parser.flush()); });
    outputTimer.setSingleShot(true);
    // Split chunks must not leave early: a coarse timer may fire up to 5 % before its time.
    outputTimer.setTimerType(Qt::PreciseTimer);
    connect(&outputTimer, &QTimer::timeout, this, &SimulatedSensor::flushOutbox);
    eraseTimer.setSingleShot(true);
    eraseTimer.setInterval(defaultEraseDelayMs);
    connect(&eraseTimer, &QTimer::timeout, this, &SimulatedSensor::finishErase);
    connect(&loader, &BootLoader::updateResponse, this, &SimulatedSensor::deliver);
    connect(&loader, &BootLoader::imageComplete, this, &SimulatedSensor::imageComplete);
}

void SimulatedSensor::receive(const QByteArray &bytes)
{
    take(parser.feed(bytes));
}

void SimulatedSensor::setAddress(quint32 address)
{
    current.address = address;
    saved.address = address;
    module.setAddress(address);
}

void SimulatedSensor::powerCycle()
{
    current = saved;
    module.powerCycle();
    parser.clear();
    inputTimer.stop();
    heldReply.clear();
    outbox.clear();
    outputTimer.stop();
    // The records stay in memory; a read or an erase under way is lost.
    memory.stopRead();
    eraseTimer.stop();
    loader.reset();
    parser.setLoaderImage(loader.packetCount(), loader.lastPayloadSize());
    unplugWhenSent = false;
}

void SimulatedSensor::setFaults(const SensorFaults &faults)
{
    activeFaults = faults;
    pageDice.seed(faults.faultSeed);
    ackDice.seed(faults.faultSeed);
    lineDice.seed(faults.faultSeed);
    readRequests = 0;
}

void SimulatedSensor::setReadings(const LiveReadings &readings)
{
    fixedReadings = readings;
}

void SimulatedSensor::clearReadings()
{
    fixedReadings.reset();
}

void SimulatedSensor::clearCounters()
{
    commandCounts.clear();
    frames.clear();
    module.clearCounters();
    loader.clearCounters();
}

void SimulatedSensor::unplug()
{
    heldReply.clear();
    outbox.clear();
    outputTimer.stop();
    unplugWhenSent = false;
    emit unplugRequested();
}

void SimulatedSensor::take(QVector<InputParser::Unit> units)
{
    // The parser pauses after an announcement or abort: they size the packets behind them.
    for (; !units.isEmpty(); units = parser.feed(QByteArray()))
        handle(units);
    if (parser.hasPartial())
        inputTimer.start();
    else
        inputTimer.stop();
}

void SimulatedSensor::handle(const QVector<InputParser::Unit> &units)
{
    for (const InputParser::Unit &unit : units) {
        if (unit.kind == InputParser::SensorFrame)
            handleSensorFrame(unit.bytes);
        else if (unit.kind == InputParser::LoaderFrame)
            handleLoaderFrame(unit.bytes);
        else
            handleModuleLine(unit.bytes);
    }
}

void SimulatedSensor::handleSensorFrame(const QByteArray &frame)
{
    const int len = quint8(frame.at(1));
    // The command follows the address, which has fewer than 4 bytes in update requests only.
    const quint8 command = quint8(frame.at(std::min(len, emptyLength) - 1));
    ++commandCounts[command];
    frames.append(frame);
    emit frameReceived(frame);
    if (loader.takeUpdateRequest(frame, current.address))
        return;
    // Frames with a shorter address only switch a sensor into its boot loader.
    if (len < emptyLength)
        return;
    // On a shared line only the addressed sensor answers; the address query is for anyone.
    if (command != ReadAddress && be32(frame, 2) != current.address)
        return;
    answer(command, frame.mid(emptyLength, len - emptyLength));
}

void SimulatedSensor::handleLoaderFrame(const QByteArray &frame)
{
    emit loaderFrameReceived(frame);
    const int index = BootLoader::packetIndex(frame);
    // Both dice are rolled for every packet, so that a run depends on the seed alone.
    const bool unlucky = index >= 0 && ackDice.generateDouble() < activeFaults.checksumErrorRate;
    const bool lossy = index >= 0 && ackDice.generateDouble() < activeFaults.lostAckRate;
    const bool refused = unlucky
        || (activeFaults.checksumErrorPackets.contains(index) && !loader.hasArrived(index));
    QByteArray ack = loader.receive(frame, refused);
    parser.setLoaderImage(loader.packetCount(), loader.lastPayloadSize());
    if (ack.isEmpty())
        return;
    const int ordinal = loader.acknowledgements();
    if (activeFaults.badAckCrcs.contains(ordinal))
        ack[ack.size() - 1] = char(~ack.at(ack.size() - 1));
    if (!lossy && !activeFaults.lostAcks.contains(ordinal))
        deliver(ack);
    if (index == activeFaults.unplugAfterPacket && quint8(ack.at(4)) == BootLoader::Written) {
        activeFaults.unplugAfterPacket = -1; // once: the host may repeat the packet later
        unplugWhenSent = true; // the acknowledgement leaves first, however late
        flushOutbox();
    }
}

void SimulatedSensor::handleModuleLine(const QByteArray &line)
{
    emit lineReceived(line);
    const QByteArray reply = module.handleLine(line);
    if (!reply.isEmpty())
        deliver(reply);
}

bool SimulatedSensor::applySetting(quint8 command, const QByteArray &data)
{
    for (const SetCommand &set : setCommands) {
        if (set.code != command)
            continue;
        if (data.size() < set.size)
            return false;
        if (!activeFaults.ignoredSets.contains(command))
            set.store(current, data);
        return true;
    }
    return false;
}

void SimulatedSensor::answer(quint8 command, const QByteArray &data)
{
    // The reply leaves from the address the request was sent to, also when it changes it.
    const quint32 from = current.address;
    const quint8 code = replyCode(command);
    switch (command) {
    case ReadAddress: {
        QByteArray address;
        for (int shift = 24; shift >= 0; shift -= 8)
            address.append(char(current.address >> shift));
        send(replyBody(0, code, address), command);
        return;
    }
    case ReadLive:
        liveSent.append(liveData());
        send(replyBody(from, code, liveSent.last()), command);
        return;
    case QueryZeroMode:
        send(replyBody(from, code, QByteArray(1, char(current.zeroMode))), command);
        return;
    case QuerySleep: {
        QByteArray period;
        period.append(char(current.sleepPeriod >> 8)).append(char(current.sleepPeriod));
        send(replyBody(from, code, period), command);
        return;
    }
    case QueryDateTime:
        send(replyBody(from, code, dateTimeData()), command);
        return;
    case Save:
        saved = current;
        send(replyBody(from, code), command);
        return;
    case FactoryReset:
        factoryReset();
        send(replyBody(from, code), command);
        return;
    case FactoryFollowUp:
        return; // completes the factory reset; no answer
    case ReadAscending: // only the long form carries the range
        if (activeFaults.lostReads.contains(++readRequests))
            return;
        if (data.size() >= 5)
            sendPage(memory.read(command, quint8(data.at(0)), be16(data, 1), be16(data, 3)));
        return;
    case ReadDescending:
        if (activeFaults.lostReads.contains(++readRequests))
            return;
        if (!data.isEmpty())
            sendPage(memory.read(command, quint8(data.at(0))));
        return;
    case StopReading:
        memory.stopRead();
        send(replyBody(from, code), command);
        return;
    case EraseRecords:
        eraseTimer.start(); // acknowledged once done
        return;
    default:
        if (applySetting(command, data))
            send(replyBody(from, code), command);
        return; // unknown commands and short set commands go unanswered
    }
}

QByteArray SimulatedSensor::replyBody(quint32 from, quint8 code, const QByteArray &data) const
{
    QByteArray body;
    body.reserve(emptyLength + data.size() + 1);
    body.append(frameHeader);
    body.append(char(emptyLength + data.size()));
    for (int shift = 24; shift >= 0; shift -= 8)
        body.append(char(from >> shift));
    body.append(char(code));
    body.append(data);
    return body;
}

void SimulatedSensor::send(QByteArray body, quint8 command)
{
    if (activeFaults.mutedCommands.contains(command))
        return;
    const quint8 code = quint8(body.at(6));
    const bool shifted = activeFaults.shiftedChecksum
        && (code == SetMotionDuration || code == SetSleep || code == QuerySleep);
    if (shifted)
        body[6] = char(code - 0x10);
    char sum = char(Checksum::additive(body, body.size()));
    body[6] = char(code);
    if (activeFaults.badChecksum)
        sum = char(~sum);
    deliver(body + sum);
}

void SimulatedSensor::sendPage(QByteArray page)
{
    if (page.isEmpty() || activeFaults.mutedCommands.contains(quint8(page.at(6))))
        return;
    // Both dice are rolled for every page, so that a run depends on the seed alone.
    const int ordinal = memory.pagesSent();
    const bool dropped = pageDice.generateDouble() < activeFaults.dropPageRate
        || activeFaults.droppedPages.contains(ordinal);
    const bool bad = pageDice.generateDouble() < activeFaults.badPageRate
        || activeFaults.badPages.contains(ordinal);
    if (dropped)
        return;
    if (bad)
        page[page.size() - 1] = char(~page.at(page.size() - 1));
    deliver(page);
}

void SimulatedSensor::finishErase()
{
    memory.erase();
    send(replyBody(current.address, replyCode(EraseRecords)), EraseRecords);
}

void SimulatedSensor::deliver(const QByteArray &reply)
{
    if (activeFaults.silent)
        return;
    QByteArray bytes = activeFaults.garbage + reply;
    int delayMs = 0, chunk = 0, gapMs = 0;
    if (!lineFault(bytes, delayMs, chunk, gapMs))
        return;
    if (activeFaults.mergeReplies && heldReply.isEmpty()) {
        heldReply = bytes;
        return;
    }
    schedule(heldReply + bytes, delayMs, chunk, gapMs);
    heldReply.clear();
}

bool SimulatedSensor::lineFault(QByteArray &reply, int &delayMs, int &chunk, int &gapMs)
{
    if (activeFaults.lineFaultRate <= 0 || lineDice.generateDouble() >= activeFaults.lineFaultRate)
        return true;
    switch (lineDice.bounded(6)) {
    case 0: {
        const int at = lineDice.bounded(reply.size());
        reply[at] = char(reply.at(at) ^ (1 + lineDice.bounded(255)));
        return true;
    }
    case 1:
        return false;
    case 2:
        chunk = 1 + lineDice.bounded(7);
        gapMs = lineDice.bounded(30);
        return true;
    case 3:
        // Held back: goes out in one chunk with the next reply.
        heldReply += reply;
        return false;
    case 4:
        delayMs = 250;
        return true;
    default:
        for (int n = 1 + lineDice.bounded(5); n > 0; --n)
            reply.prepend(char(lineDice.bounded(256)));
        return true;
    }
}

void SimulatedSensor::schedule(const QByteArray &bytes, int extraDelayMs, int chunk, int gapMs)
{
    // Replies keep their order: nothing is due before what is already queued.
    qint64 due = clock.elapsed() + std::max(0, activeFaults.delayMs) + extraDelayMs;
    if (!outbox.isEmpty())
        due = std::max(due, outbox.last().due);
    if (chunk <= 0) {
        chunk = activeFaults.splitSize > 0 ? activeFaults.splitSize : bytes.size();
        gapMs = activeFaults.splitGapMs;
    }
    for (int at = 0; at < bytes.size(); at += chunk) {
        outbox.append({bytes.mid(at, chunk), due});
        due += std::max(0, gapMs);
    }
    flushOutbox();
}

void SimulatedSensor::flushOutbox()
{
    while (!outbox.isEmpty() && outbox.first().due <= clock.elapsed())
        emit transmit(outbox.takeFirst().bytes);
    if (!outbox.isEmpty())
        outputTimer.start(int(std::max<qint64>(1, outbox.first().due - clock.elapsed())));
    else if (unplugWhenSent)
        unplug();
}

QByteArray SimulatedSensor::liveData() const
{
    return (fixedReadings ? *fixedReadings : LiveReadings::wandering(clock.elapsed())).encode();
}

QByteArray SimulatedSensor::dateTimeData() const
{
    if (!current.dateTime.isEmpty())
        return current.dateTime;
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    QByteArray data;
    for (int value : {date.year() % 100, date.month(), date.day(), time.hour(), time.minute(),
                      time.second()})
        data.append(bcdByte(value));
    return data;
}

void SimulatedSensor::factoryReset()
{
    // The line settings and the clock survive; a sensor that forgot its address or baud rate
    // would drop off the line it is configured on.
    SensorSettings defaults;
    defaults.address = current.address;
    defaults.baudCode = current.baudCode;
    defaults.dateTime = current.dateTime;
    current = defaults;
}
