#ifndef SIM_SENSORFAULTS_H
#define SIM_SENSORFAULTS_H

#include <QByteArray>
#include <QSet>
#include <QtGlobal>

// Misbehaviour the simulated sensor can be told to show on its replies. The default is a
// well-behaved sensor. Faults combine; they are applied in the order of the members. The line
// faults (silent, garbage and the ones after it) apply to the radio module's answers as well.
struct SensorFaults
{
    bool silent = false; // the device answers nothing at all, neither sensor nor module
    QSet<quint8> mutedCommands; // request codes whose answer is dropped
    QSet<quint8> ignoredSets; // set requests acknowledged as usual but not applied
    bool badChecksum = false; // every reply carries a wrong checksum byte
    // Replies with codes 0x53, 0x56 and 0x57 are summed as if their code were 0x10 lower (a
    // variant the host accepts, so these replies stay valid).
    bool shiftedChecksum = false;
    // Record pages, counted 1, 2, ... by transmission within a read (a repeat counts too): the
    // pages with these ordinals go out with one CRC byte flipped, or not at all.
    QSet<int> badPages;
    QSet<int> droppedPages;
    // Read requests (0x61, 0x6D), counted 1, 2, ... from when the faults are set, that are lost
    // on their way: the sensor never hears them.
    QSet<int> lostReads;
    // Boot-loader acknowledgements, counted 1, 2, ... within a transfer (from its announcement;
    // a repeat counts too): the ones with these ordinals are not sent, or go out with one CRC
    // byte flipped.
    QSet<int> lostAcks;
    QSet<int> badAckCrcs;
    // Data packets (by index) whose first arrival is answered with a checksum error though good.
    QSet<int> checksumErrorPackets;
    // Once this data packet is acknowledged as written, the sensor unplugs (once; -1: never).
    int unplugAfterPacket = -1;
    // Chances, 0..1, that a page goes out with a flipped CRC byte or not at all, that an
    // acknowledgement is lost and that a good packet is answered with a checksum error; the dice
    // are seeded with faultSeed whenever the faults are set, so a run can be repeated.
    double badPageRate = 0;
    double dropPageRate = 0;
    double lostAckRate = 0;
    double checksumErrorRate = 0;
    quint32 faultSeed = 1;
    // Chance, 0..1, that a sensor reply meets one line fault, chosen by the same dice: a byte
    // flipped, the reply lost, split into small chunks with pauses, held back and sent with the
    // next one, sent 250 ms late, or led by a few random bytes.
    double lineFaultRate = 0;
    QByteArray garbage; // sent in the same chunk right before each reply
    bool mergeReplies = false; // each reply is held back and sent with the next one
    int delayMs = 0; // a reply leaves this long after its request
    int splitSize = 0; // when above 0, replies go out in chunks of this many bytes
    int splitGapMs = 0; // pause between those chunks
};

#endif // SIM_SENSORFAULTS_H
