#ifndef PROTOCOL_REPLY_H
#define PROTOCOL_REPLY_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// What one complete reply means to the window, with the values it carries.
struct Reply {
    enum Kind {
        Dropped, // invalid, unknown or unhandled: ignore silently
        Address, // read-address reply; `address`
        SetAddressAck, // 0x8F: the new address becomes the working address
        BaudAck, // 0x8B: switch the port to the new rate
        SetAck, // counted set acknowledgement
        DateTime, // 0x66; `dateTime`
        SleepQuery, // 0x57; `sleepText`
        MotionOrSleepAck, // 0x56 or 0x53: counted set acknowledgement
        ZeroMode, // 0x8D; `zeroModeIndex`
        LiveData, // 0x83 live readings
        ReadbackPage, // 0x61 / 0x6D page with a good CRC
        ReadbackPageBadCrc, // 0x61 / 0x6D page whose CRC failed: ask for it again
        DeleteAck, // 0x63: stored records erased
        FirmwareReply // 0x5A boot-loader reply with a good CRC; `firmwareInfo`
    };

    Kind kind = Dropped;
    quint8 code = 0; // byte 6 of a 0x77 frame, byte 1 of a 0x5A frame
    QString address; // 8 lower-case hex digits
    QStringList dateTime; // year, month, day, hour, minute, second as "%02x"
    QString sleepText; // 16-bit period as "%x"
    int zeroModeIndex = 0; // combo index 0 or 1; 0xFF gives 1, other values drop the reply
    bool firmwareInfo = false; // the reply begins 5A 81 (carries the version text)
};

/// Classifies exactly one complete reply by the dispatch rules, checking checksum or CRC.
Reply classifyReply(const QByteArray &reply);

#endif // PROTOCOL_REPLY_H
