#ifndef SIM_BOOTLOADER_H
#define SIM_BOOTLOADER_H

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QTimer>

// The sensor's boot loader. An update request (a sensor frame with the update command and the
// device address in 1, 2 or 4 bytes) starts it; once started, after a delay, it answers every
// update request with its version text. It then takes an image announced by its length and
// packet count, packet by packet: each data packet's payload is decrypted, checked against the
// CRC of its plain text, stored and acknowledged. An abort forgets the transfer. It has no I/O:
// frames come in through functions, acknowledgements are returned, and the update responses,
// which leave on the loader's own time, are a signal.
class BootLoader : public QObject {
    Q_OBJECT

public:
    static constexpr int packetSize = 1024; // payload of every packet but a short last one
    static constexpr int versionSize = 50; // the version text's field in the update response

    enum Status : quint8 { Written = 1, ChecksumError = 2 };

    explicit BootLoader(QObject *parent = nullptr);

    QString version() const { return QString::fromLatin1(versionText); }
    /// The version text of the update response, Latin-1, cut at 50 bytes.
    void setVersion(const QString &text) { versionText = text.toLatin1().left(versionSize); }
    quint8 updateCommand() const { return command; }
    void setUpdateCommand(quint8 code) { command = code; }
    int addressWidth() const { return width; }
    /// Address bytes of the update request: 1, 2 or 4.
    void setAddressWidth(int bytes);
    int bootDelayMs() const { return bootTimer.interval(); }
    /// How long the loader takes to start before its first update response.
    void setBootDelayMs(int msecs) { bootTimer.setInterval(msecs); }

    /// True when the sensor frame `frame` is an update request for `address`; its response
    /// follows (updateResponse()) once the loader has started.
    bool takeUpdateRequest(const QByteArray &frame, quint32 address);
    /// Takes an announcement, data packet or abort as delimited on the line. Returns the
    /// acknowledgement of a data packet of the announced image, or nothing. A `refused` packet
    /// is answered with a checksum error even when it is good.
    QByteArray receive(const QByteArray &frame, bool refused = false);
    /// Index of a data packet, -1 for any other frame.
    static int packetIndex(const QByteArray &frame);
    /// True when a packet with this index came in the current transfer, whatever its state.
    bool hasArrived(int index) const { return arrived.contains(index); }

    /// Packets of the announced image; 0 while no transfer is in progress.
    int packetCount() const { return packets; }
    /// Payload bytes of the last packet: 1024 unless the image ends in a short one.
    int lastPayloadSize() const;
    /// The announced image once every packet of it is written; empty before.
    QByteArray receivedImage() const;
    /// Packets written in the current transfer, repeats included.
    int packetsWritten() const { return writes; }
    /// Acknowledgements made in the current transfer.
    int acknowledgements() const { return acks; }
    /// Valid abort frames received.
    int abortCount() const { return aborts; }
    void clearCounters() { aborts = 0; }
    /// Power lost: the loader has to start again, the transfer is gone.
    void reset();

signals:
    /// The update response: 0x5A 0x81, the version text in 50 bytes, CRC-32.
    void updateResponse(const QByteArray &response);
    /// The last missing packet of the announced image was written.
    void imageComplete(const QByteArray &image);

private:
    void start();
    void announce(quint32 imageLength, int packetCount);
    QByteArray takePacket(const QByteArray &frame, bool refused);
    QByteArray response() const;

    QByteArray versionText = "TL#S1#V1.0.0";
    quint8 command = 0x30;
    int width = 4;
    QTimer bootTimer;
    bool started = false;
    int waiting = 0; // update requests to answer once started
    // The transfer in progress.
    int length = 0;
    int packets = 0;
    QByteArray image;
    QSet<int> written;
    QSet<int> arrived;
    int writes = 0;
    int acks = 0;
    int aborts = 0;
};

#endif // SIM_BOOTLOADER_H
