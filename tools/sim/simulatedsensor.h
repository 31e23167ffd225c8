#ifndef SIM_SIMULATEDSENSOR_H
#define SIM_SIMULATEDSENSOR_H

#include "sim/bootloader.h"
#include "sim/inputparser.h"
#include "sim/livereadings.h"
#include "sim/radiomodule.h"
#include "sim/sensorfaults.h"
#include "sim/sensorsettings.h"
#include "sim/storedrecords.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

#include <optional>

// The tilt sensor as seen from its serial line, without any I/O of its own: bytes from the host
// go in through receive(), the device's answers come out of transmit(). It answers the 0x77
// sensor frames addressed to it (and the read-address request, whatever its address), keeps the
// parameters it is sent, hands out its stored records page by page, and can be told to
// misbehave (SensorFaults). Text lines go to the sensor's radio module (RadioModule), whose
// answers share the sensor's way out and its line faults, and so do those of its boot loader
// (BootLoader), which an update request starts and which takes a firmware image.
class SimulatedSensor : public QObject
{
    Q_OBJECT

public:
    explicit SimulatedSensor(QObject *parent = nullptr);

    /// Takes bytes from the line, in any chunking.
    void receive(const QByteArray &bytes);

    /// The device address the sensor answers to.
    quint32 address() const { return current.address; }
    /// Changes the device address, also the one kept over a power cycle, and the one the
    /// module's default identifiers are made from.
    void setAddress(quint32 address);
    /// The parameters in effect.
    const SensorSettings &settings() const { return current; }
    /// The parameters as last saved; they come back after a power cycle.
    const SensorSettings &savedSettings() const { return saved; }
    /// The radio module on the same line.
    RadioModule &radioModule() { return module; }
    const RadioModule &radioModule() const { return module; }
    /// Loses unsaved sensor and module settings, half-received input and replies not yet sent.
    void powerCycle();

    SensorFaults faults() const { return activeFaults; }
    /// Replaces the active faults; a reply held back for merging is kept.
    void setFaults(const SensorFaults &faults);

    /// Reports these readings from now on instead of the slowly wandering ones.
    void setReadings(const LiveReadings &readings);
    /// Goes back to the wandering readings.
    void clearReadings();

    /// Records in memory (1000 on a new sensor); setting it ends a read in progress.
    int storedRecords() const { return memory.count(); }
    void setStoredRecords(int count) { memory.setCount(count); }
    /// Records after record `index` come an hour later (0: no gap).
    void setRecordGapAfter(int index) { memory.setGapAfter(index); }
    /// Bytes per record: 36 with accelerations (the default) or 24.
    int recordSize() const { return memory.recordSize(); }
    void setRecordSize(int bytes) { memory.setRecordSize(bytes); }
    /// Records per page, 1..255 (default 255).
    int pageSize() const { return memory.pageSize(); }
    void setPageSize(int records) { memory.setPageSize(records); }
    /// How long erasing the records takes before it is acknowledged (default 6000 ms).
    int eraseDelayMs() const { return eraseTimer.interval(); }
    void setEraseDelayMs(int msecs) { eraseTimer.setInterval(msecs); }

    /// Number of valid sensor frames received with this command code, for any address.
    int receivedCount(quint8 command) const { return commandCounts.value(command); }
    /// Every valid sensor frame received, for any address, oldest first.
    QList<QByteArray> receivedFrames() const { return frames; }
    /// The data field of every live reply sent, oldest first (before any line fault).
    QList<QByteArray> liveDataSent() const { return liveSent; }
    /// Bytes received that belonged to no valid frame or line.
    int discardedBytes() const { return parser.discardedBytes(); }
    /// Every radio-module line received, oldest first.
    QList<QByteArray> receivedLines() const { return module.receivedLines(); }
    /// Resets the received-frame and received-line counters.
    void clearCounters();

    /// How long the line must stay quiet before an incomplete frame is given up.
    void setInputGapMs(int msecs) { inputTimer.setInterval(msecs); }

    /// The boot loader's version text, cut at 50 Latin-1 bytes (default "TL#S1#V1.0.0").
    QString loaderVersion() const { return loader.version(); }
    void setLoaderVersion(const QString &text) { loader.setVersion(text); }
    /// Command code of the update request (default 0x30).
    quint8 updateCommand() const { return loader.updateCommand(); }
    void setUpdateCommand(quint8 code) { loader.setUpdateCommand(code); }
    /// Address bytes of the update request: 1, 2 or 4 (the default).
    int addressWidth() const { return loader.addressWidth(); }
    void setAddressWidth(int bytes) { loader.setAddressWidth(bytes); }
    /// How long the boot loader takes to start and answer (default 300 ms).
    int bootDelayMs() const { return loader.bootDelayMs(); }
    void setBootDelayMs(int msecs) { loader.setBootDelayMs(msecs); }
    /// The firmware image once received in full; empty while a transfer is incomplete.
    QByteArray receivedImage() const { return loader.receivedImage(); }
    /// Data packets written in the current transfer, repeats included.
    int packetsWritten() const { return loader.packetsWritten(); }
    /// Transfers aborted by the host (abort frames received).
    int abortCount() const { return loader.abortCount(); }

public slots:
    /// Pulls the plug: replies not yet sent are dropped and unplugRequested() is emitted.
    void unplug();

signals:
    /// Bytes the device sends, as one chunk on the line.
    void transmit(const QByteArray &bytes);
    /// A valid sensor frame arrived (whether or not it is answered).
    void frameReceived(const QByteArray &frame);
    /// A radio-module line arrived, terminator included.
    void lineReceived(const QByteArray &line);
    /// The device is to disappear from the line.
    void unplugRequested();
    /// A boot-loader frame (announcement, data packet or abort) arrived, valid or not.
    void loaderFrameReceived(const QByteArray &frame);
    /// The last missing packet of a firmware image was written.
    void imageComplete(const QByteArray &image);

private:
    void take(QVector<InputParser::Unit> units);
    void handle(const QVector<InputParser::Unit> &units);
    void handleSensorFrame(const QByteArray &frame);
    void handleLoaderFrame(const QByteArray &frame);
    void handleModuleLine(const QByteArray &line);
    bool applySetting(quint8 command, const QByteArray &data);
    void answer(quint8 command, const QByteArray &data);
    void sendPage(QByteArray page);
    void finishErase();
    QByteArray replyBody(quint32 from, quint8 code, const QByteArray &data = QByteArray()) const;
    void send(QByteArray body, quint8 command);
    void deliver(const QByteArray &reply);
    void schedule(const QByteArray &bytes, int extraDelayMs = 0, int chunk = 0, int gapMs = 0);
    /// Applies one line fault to `reply` when the dice say so; false when it is lost or held.
    bool lineFault(QByteArray &reply, int &delayMs, int &chunk, int &gapMs);
    void flushOutbox();
    QByteArray liveData() const;
    QByteArray dateTimeData() const;
    void factoryReset();

    struct Pending
    {
        QByteArray bytes;
        qint64 due; // msecs on `clock`
    };

    InputParser parser;
    SensorSettings current;
    SensorSettings saved;
    SensorFaults activeFaults;
    RadioModule module;
    std::optional<LiveReadings> fixedReadings;
    StoredRecords memory;
    QRandomGenerator pageDice;
    BootLoader loader;
    QRandomGenerator ackDice;
    QRandomGenerator lineDice;
    QList<QByteArray> liveSent;
    bool unplugWhenSent = false;
    int readRequests = 0; // since the faults were set
    QHash<quint8, int> commandCounts;
    QList<QByteArray> frames;
    QByteArray heldReply;
    QList<Pending> outbox;
    QElapsedTimer clock;
    QTimer inputTimer;
    QTimer outputTimer;
    QTimer eraseTimer;
};

#endif // SIM_SIMULATEDSENSOR_H
