#ifndef SIM_INPUTPARSER_H
#define SIM_INPUTPARSER_H

#include <QByteArray>
#include <QVector>

// Splits the byte stream a device receives into the three kinds of input that share the line:
// sensor frames (0x77, LEN, ..., additive checksum at index LEN), boot-loader frames (0x5A, type,
// ..., CRC-32 trailer) and radio-module text lines ("AT..." up to a line feed). A candidate that
// cannot be a unit loses its first byte and the rest is scanned again, so the parser falls back
// into step after garbage or a broken frame. Sensor frames are checked here (their checksum is
// what tells a frame from garbage); boot-loader frames are only delimited, because a data packet
// carries its CRC over the payload before encryption and only the loader can check it. A batch
// of units ends after an announcement or abort, so that the caller can tell the parser the sizes
// of the packets behind it before they are delimited.
class InputParser
{
public:
    enum Kind {
        SensorFrame,
        LoaderFrame,
        CommandLine
    };

    struct Unit
    {
        Kind kind;
        QByteArray bytes;
    };

    /// Appends bytes from the line; returns the units they complete, in order of arrival, up to
    /// an announcement or abort (feed nothing to go on after it).
    QVector<Unit> feed(const QByteArray &bytes);
    /// Gives up on the unit being collected (the line went quiet) and returns what follows it.
    QVector<Unit> flush();
    /// True while bytes of an incomplete unit are held.
    bool hasPartial() const { return !buffer.isEmpty(); }
    /// Bytes dropped so far because they started no valid unit.
    int discardedBytes() const { return discarded; }
    /// Forgets the held bytes and the counter.
    void clear();

    /// How boot-loader data packets are sized: by their index, 1024 payload bytes for all but
    /// the last of `packetCount`, which has `lastPayloadSize` (a count of 0: 1024 for every one).
    void setLoaderImage(int packetCount, int lastPayloadSize)
    {
        loaderPackets = packetCount;
        lastLoaderPayload = lastPayloadSize;
    }

    static constexpr int longestLine = 256;

private:
    enum Verdict {
        Complete,
        NeedMore,
        Invalid
    };

    QVector<Unit> drain(bool giveUp);
    Verdict examine(Kind &kind, int &size) const;
    Verdict examineSensorFrame(int &size) const;
    Verdict examineLoaderFrame(int &size) const;
    Verdict examineLine(int &size) const;
    void dropFirstByte();

    QByteArray buffer;
    int discarded = 0;
    int loaderPackets = 0;
    int lastLoaderPayload = 1024;
};

#endif // SIM_INPUTPARSER_H
