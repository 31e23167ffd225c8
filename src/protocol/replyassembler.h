#ifndef PROTOCOL_REPLYASSEMBLER_H
#define PROTOCOL_REPLYASSEMBLER_H

#include <QByteArray>

// Decides when the receive buffer holds a whole reply. Only one reply's bytes are taken and the
// rest stays as the start of the next reply, so two replies arriving in one chunk are both seen
// and a readback page followed by further bytes keeps its CRC in the right place:
//
//     QByteArray reply;
//     while (!(reply = ReplyAssembler::takeReply(rxBuffer)).isEmpty())
//         handle(reply);
class ReplyAssembler {
public:
    enum Kind {
        NeedMore, // keep the bytes and wait for more
        Complete, // the first `size` bytes are one reply
        Discard, // the buffer cannot start a reply; clear it
        ModuleText // starts with 'O': a radio-module answer, left for its own parser
    };

    struct Completion {
        Kind kind = NeedMore;
        int size = 0; // reply size when Complete, else 0
    };

    /// Judges the start of the buffer by the frame completion rule.
    static Completion check(const QByteArray &buffer);

    /// Removes and returns the next complete reply; clears the buffer on Discard, else returns "".
    static QByteArray takeReply(QByteArray &buffer);

    /// Size of a readback page with the given record count and flags byte.
    static int readbackPageSize(quint8 records, quint8 flags);
};

#endif // PROTOCOL_REPLYASSEMBLER_H
