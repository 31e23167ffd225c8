// The receive path: a byte stream cut into chunks, reassembled into replies, each classified and
// decoded the way the window does it. The first byte seeds the chunk sizes.
#include "fuzzinput.h"

#include "measure/livesample.h"
#include "params/moduleanswer.h"
#include "protocol/reply.h"
#include "protocol/replyassembler.h"
#include "records/storedrecord.h"

namespace {

void useReply(const QByteArray &bytes)
{
    const Reply reply = classifyReply(bytes);
    switch (reply.kind) {
    case Reply::LiveData:
        for (int kind : { 0, 2 })
            recordLine(QDateTime(QDate(2024, 3, 1), QTime(9, 5, 3)), decodeLiveSample(bytes, kind));
        break;
    case Reply::ReadbackPage:
    case Reply::ReadbackPageBadCrc:
        for (const StoredRecord &record : decodeRecordPage(bytes).records)
            for (int column = 0; column < RecordColumn::Count; ++column)
                record.text(column);
        break;
    case Reply::Address:
        FUZZ_CHECK(reply.address.size() == 8);
        break;
    case Reply::ZeroMode:
        FUZZ_CHECK(reply.zeroModeIndex == 0 || reply.zeroModeIndex == 1);
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    quint32 seed = input.byte();
    const QByteArray stream = input.rest();
    QByteArray buffer;
    for (int at = 0; at < stream.size();) {
        seed = seed * 1103515245u + 12345u;
        const int chunk = 1 + int((seed >> 16) % 64);
        buffer += stream.mid(at, chunk);
        at += chunk;
        for (;;) {
            const QByteArray before = buffer;
            const ReplyAssembler::Completion completion = ReplyAssembler::check(buffer);
            FUZZ_CHECK(completion.kind != ReplyAssembler::Complete
                || (completion.size > 0 && completion.size <= buffer.size()));
            const QByteArray reply = ReplyAssembler::takeReply(buffer);
            if (reply.isEmpty())
                break;
            // One reply off the front, the rest kept as it was.
            FUZZ_CHECK(before.startsWith(reply) && before.mid(reply.size()) == buffer);
            useReply(reply);
        }
        // The window's quiet timer hands module text to its parser; a partial reply times out.
        if (!buffer.isEmpty() && (seed & 0x300) == 0x300) {
            if (buffer.at(0) == 'O')
                parseModuleAnswer(buffer);
            buffer.clear();
        }
    }
    return 0;
}
