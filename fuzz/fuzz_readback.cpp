// The readback conversation fed a script of user actions, time-outs and pages: raw ones, and
// pages built around the input's bytes with a good CRC so that the fuzzer gets past the check.
#include "fuzzinput.h"

#include "protocol/checksum.h"
#include "records/recordreadback.h"

namespace {

void checkRequest(const QByteArray &request)
{
    FUZZ_CHECK(request.isEmpty() || quint8(request.at(0)) == 0x77);
}

RecordRange rangeFrom(FuzzInput &input)
{
    const quint16 begin = quint16(input.byte() << 8 | input.byte());
    const quint16 end = quint16(input.byte() << 8 | input.byte());
    return { begin, end };
}

/// 77, N, flags, three bytes, command, last mark, N records from the input, CRC-32.
QByteArray builtPage(FuzzInput &input)
{
    const int records = input.byte() % 8;
    const quint8 flags = input.byte();
    QByteArray page;
    page.append(char(0x77)).append(char(records)).append(char(flags)).append(3, '\0');
    page.append(char(
        input.byte() & 1 ? RecordReadback::descendingCommand : RecordReadback::ascendingCommand));
    page.append(char(input.byte()));
    const int size = records * (flags & 0x80 ? 36 : 24);
    for (int i = 0; i < size; ++i)
        page.append(char(input.byte()));
    return page + Checksum::crc32Bytes(page, page.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    RecordReadback readback;
    const quint32 address = 1;
    for (int step = 0; step < 200 && !input.atEnd(); ++step) {
        switch (input.byte() % 8) {
        case 0: {
            const auto order = input.byte() & 1 ? RecordReadback::Order::Descending
                                                : RecordReadback::Order::Ascending;
            checkRequest(readback.start(address, order, rangeFrom(input)));
            break;
        }
        case 1:
            readback.pause(rangeFrom(input));
            break;
        case 2:
            checkRequest(readback.resume(address, rangeFrom(input)));
            break;
        case 3:
            checkRequest(readback.stop());
            break;
        case 4:
            checkRequest(readback.timedOut());
            break;
        case 5:
            checkRequest(readback.eraseRequest(address));
            break;
        default: {
            const QByteArray page = input.byte() & 1 ? builtPage(input) : input.chunk();
            const RecordReadback::State before = readback.state();
            const RecordReadback::PageResult result = readback.takePage(page);
            checkRequest(result.request);
            FUZZ_CHECK(before != RecordReadback::State::Idle || !result.accepted);
            FUZZ_CHECK(!result.finished || readback.state() == RecordReadback::State::Idle);
            FUZZ_CHECK(result.records.size() <= 255);
            for (const StoredRecord &record : result.records)
                for (int column = 0; column < RecordColumn::Count; ++column)
                    record.text(column);
            break;
        }
        }
    }
    return 0;
}
