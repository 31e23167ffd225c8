#include "records/recordreadback.h"

#include "protocol/protocol.h"

std::optional<RecordRange> recordRange(bool all, const QString &begin, const QString &end)
{
    quint32 first = 1;
    quint32 last = RecordReadback::lastIndex;
    if (!all) {
        first = begin.toUInt();
        last = end.toUInt();
    }
    if (first > last)
        return std::nullopt;
    RecordRange range;
    range.begin = quint16(first == 0 ? 1 : first);
    range.end = quint16(qMin(last, quint32(RecordReadback::lastIndex)));
    return range;
}

QByteArray RecordReadback::start(quint32 to, Order readOrder, const RecordRange &readRange)
{
    current = State::Running;
    order = readOrder;
    address = to;
    range = readRange;
    subCode = firstPage;
    lastPage.clear();
    awaiting = true;
    askAgain = false;
    return request(readCommand(), order == Order::Descending);
}

void RecordReadback::pause(const RecordRange &readRange)
{
    range = readRange;
    if (current == State::Running)
        current = State::Paused;
}

QByteArray RecordReadback::resume(quint32 to, const RecordRange &readRange)
{
    if (current != State::Paused)
        return QByteArray();
    address = to;
    range = readRange;
    current = State::Running;
    // The page asked for last never came: ask for it again. Until a page has been taken the
    // sensor is asked to begin once more.
    if (awaiting || askAgain)
        subCode = lastPage.isEmpty() ? firstPage : samePage;
    awaiting = true;
    askAgain = false;
    return request(readCommand(), order == Order::Descending);
}

QByteArray RecordReadback::stop()
{
    if (current == State::Running) {
        current = State::Stopping;
        return QByteArray();
    }
    if (current != State::Paused)
        return QByteArray();
    current = State::Idle;
    awaiting = false;
    return request(stopCommand, false);
}

RecordReadback::PageResult RecordReadback::takePage(const QByteArray &bytes)
{
    PageResult result;
    if (current == State::Idle)
        return result; // no read is waiting for it
    awaiting = false;
    askAgain = false;
    const RecordPage page = decodeRecordPage(bytes);
    if (!page.crcOk) {
        subCode = samePage;
    } else if (bytes == lastPage) {
        subCode = nextPage; // the answer to a repeat of a page already taken
    } else {
        lastPage = bytes;
        result.accepted = true;
        result.records = page.records;
        if (page.last) {
            current = State::Idle;
            result.finished = true;
            return result;
        }
        subCode = nextPage;
    }
    if (current == State::Running || current == State::Stopping) {
        const bool stopping = current == State::Stopping;
        result.request
            = request(stopping ? stopCommand : readCommand(), page.command == descendingCommand);
        if (stopping)
            current = State::Idle;
        else
            awaiting = true;
    }
    return result;
}

QByteArray RecordReadback::timedOut()
{
    if (current == State::Running) {
        current = State::Paused;
        return QByteArray();
    }
    if (current != State::Stopping)
        return QByteArray();
    current = State::Idle;
    awaiting = false;
    return request(stopCommand, order == Order::Descending);
}

void RecordReadback::portLost()
{
    timedOut();
    askAgain = current == State::Paused && (awaiting || askAgain);
    awaiting = false;
}

QByteArray RecordReadback::eraseRequest(quint32 to) const
{
    return Protocol::buildReadbackFrame(
        to, { eraseCommand, subCode, false, range.begin, range.end });
}

QByteArray RecordReadback::request(quint8 command, bool shortForm)
{
    return Protocol::buildReadbackFrame(
        address, { command, subCode, shortForm, range.begin, range.end });
}

quint8 RecordReadback::readCommand() const
{
    return order == Order::Descending ? descendingCommand : ascendingCommand;
}
