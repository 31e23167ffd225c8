#pragma once

#include <QByteArray>
#include <QVector>

/// The conversation that puts a firmware image onto the sensor through its boot loader, step by
/// step on timer ticks. It holds no port and no widget: each tick hands back the frame to send,
/// what to tell the user, and when the next tick is due; boot-loader replies whose CRC passed go
/// in through takeReply().
///
/// Steps: the update request twice, 50 ms apart; the image announcement every 150 ms until the
/// loader's update response has come; then the packets, each sent once its predecessor is
/// acknowledged, again when the loader reports a checksum error, and again after 100 ticks
/// without an answer.
class FirmwareUpgrade {
public:
    enum class Step { Idle, Requesting, Announcing, Transferring, Finished };
    /// What a tick has to tell the user.
    enum class Note {
        RequestSent, // the update request or the announcement went out
        ResponseReceived, // the loader answered: the packets begin
        Progress, // a new packet went out; Tick::percent says how far
        TimedOutResend, // no acknowledgement in time: the packet again
        ChecksumResend, // the loader got the packet damaged: the packet again
        Written, // the last packet was acknowledged
        Completed
    };

    /// What goes to the loader and how it is addressed.
    struct Target {
        QByteArray image;
        quint32 address = 0;
        int addressWidth = 4; // 1, 2 or 4 address bytes in the update request
        quint8 updateCommand = 0;
    };

    struct Tick {
        QByteArray send; // to write now; empty: nothing
        QVector<Note> notes;
        float percent = 0; // packets sent so far, for Note::Progress
        int nextMs = 0; // when the next tick is due; 0 when the upgrade is over
    };

    static constexpr int packetSize = 1024;
    static constexpr int tickMs = 50;
    static constexpr int announceMs = 150;
    static constexpr int waitLimit = 100; // ticks without an acknowledgement before a repeat

    /// Begins an upgrade; the first tick is due after tickMs.
    void start(const Target &target);
    /// One step of the upgrade.
    Tick tick();
    /// A boot-loader reply (0x5A) whose CRC passed; the next tick acts on it.
    void takeReply(const QByteArray &reply);
    /// Stops the upgrade where it is; nothing more is sent.
    void cancel();

    Step step() const { return current; }
    bool running() const { return current != Step::Idle && current != Step::Finished; }
    int packetCount() const;

    /// 0x77, LEN, the low `width` bytes of the address, the update command, checksum.
    static QByteArray updateRequest(quint32 address, int width, quint8 command);
    /// 5A 01, image length, packet count, CRC-32.
    static QByteArray announcement(int imageLength, int packets);
    /// 5A 03 01, image length, 00, CRC-32: tells the loader to give up.
    static QByteArray abortFrame(int imageLength);
    /// 5A 02, index, the TEA-encrypted payload, CRC-32 of the header and the plain payload.
    QByteArray packet(int index) const;
    QByteArray abortFrame() const { return abortFrame(target.image.size()); }

private:
    Tick transferTick(Tick tick);

    Target target;
    Step current = Step::Idle;
    QByteArray lastReply;
    int requestsSent = 0;
    int packetIndex = 0;
    int waitTicks = 0;
    int interval = tickMs;
};
