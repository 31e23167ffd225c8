#include "protocol/reply.h"
#include "protocol/replyassembler.h"

#include <QtTest>

Q_DECLARE_METATYPE(Reply::Kind)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const char ackHex[] = "7707000000016971";
const char liveHex[] = "772300000001831012345601234567f00010000098123411000000000000010025505ae2";
const char firmwareAckHex[] = "5a820001019dcd5f10";
const char firmwareInfoHex[]
    = "5a8156312e302e340000000000000000000000000000000000000000000000000000000000000000000000"
      "00000000000000000004f8dc79";
// Readback pages: 12 bytes and N records of 36 bytes (flags 0x80) or 24 bytes.
const char page84Hex[]
    = "77028000000061000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f202122"
      "23240102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f20212223245415e7b9";
const char page60Hex[]
    = "77020000000061000102030405060708090a0b0c0d0e0f1011121314151617180102030405060708090a"
      "0b0c0d0e0f1011121314151617183ad799db";
const char page36Hex[] = "7701000000006dff0102030405060708090a0b0c0d0e0f10111213141516171803731b75";

} // namespace

// Cutting the receive stream into replies, and what each reply means.
class TestReply : public QObject {
    Q_OBJECT

private slots:
    void anyChunkingRecoversEachReply_data()
    {
        QTest::addColumn<int>("chunkSize");
        for (int size : { 1, 2, 3, 5, 7, 8, 13, 36, 64, 500 })
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }

    void anyChunkingRecoversEachReply()
    {
        QFETCH(int, chunkSize);
        const QByteArrayList sent
            = { hex(ackHex), hex(liveHex), hex(page84Hex), hex(firmwareAckHex), hex(page60Hex),
                  hex(page36Hex), hex(firmwareInfoHex), hex(ackHex) };
        const QByteArray stream = sent.join();
        QByteArray buffer;
        QByteArrayList received;
        for (int at = 0; at < stream.size(); at += chunkSize) {
            buffer += stream.mid(at, chunkSize);
            QByteArray reply;
            while (!(reply = ReplyAssembler::takeReply(buffer)).isEmpty())
                received.append(reply);
        }
        QCOMPARE(received, sent);
        QVERIFY(buffer.isEmpty());
    }

    void takeReply_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<QByteArrayList>("taken");
        QTest::addColumn<QByteArray>("rest");
        const QByteArray ack = hex(ackHex);
        QTest::newRow("page then the start of the next")
            << hex(page84Hex) + ack.left(5) << QByteArrayList { hex(page84Hex) } << ack.left(5);
        QTest::newRow("garbage after a reply")
            << ack + hex("0102") << QByteArrayList { ack } << QByteArray();
        QTest::newRow("garbage first byte") << hex("00") + ack << QByteArrayList() << QByteArray();
        QTest::newRow("module text") << QByteArray("OK") << QByteArrayList() << QByteArray("OK");
        // LEN 6: the code byte is also the checksum; the frame is whole at 7 bytes.
        QTest::newRow("LEN 6 frame, then an ack")
            << hex("7706000000878d") + ack << QByteArrayList { hex("7706000000878d"), ack }
            << QByteArray();
        QTest::newRow("LEN 6 frame alone") << hex("7706000000878d")
                                           << QByteArrayList { hex("7706000000878d") } << QByteArray();
        QTest::newRow("length byte below 6")
            << hex("7702000000006900") << QByteArrayList() << QByteArray();
    }

    void takeReply()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(QByteArrayList, taken);
        QFETCH(QByteArray, rest);
        QByteArrayList replies;
        QByteArray reply;
        while (!(reply = ReplyAssembler::takeReply(buffer)).isEmpty()) {
            replies.append(reply);
            const Reply::Kind kind = classifyReply(reply).kind;
            QVERIFY(kind != Reply::Dropped && kind != Reply::ReadbackPageBadCrc);
        }
        QCOMPARE(replies, taken);
        QCOMPARE(buffer, rest);
    }

    void classify_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<Reply::Kind>("kind");
        QTest::addColumn<QString>("values");
        const auto row
            = [](const char *name, const char *frame, Reply::Kind kind, const char *values = "") {
                  QTest::newRow(name) << hex(frame) << kind << QString(values);
              };
        row("unknown header", "0007000000016971", Reply::Dropped);
        row("too short", "770700000001", Reply::Dropped);
        row("address from any sender", "770bffffffff1f0000000a30", Reply::Address, "0000000a");
        row("address bad checksum", "770b000000001f123456783f", Reply::Dropped);
        row("set address ack", "7707000000018f97", Reply::SetAddressAck);
        row("baud ack", "7707000000018b93", Reply::BaudAck);
        row("upload mode ack", ackHex, Reply::SetAck);
        row("upload mode ack bad", "7707000000016970", Reply::Dropped);
        row("zero mode ack", "770700000001858d", Reply::SetAck);
        row("save ack", "7707000000018a92", Reply::SetAck);
        row("output timing ack", "7707000000018c94", Reply::SetAck);
        row("factory ack", "7707000000018e96", Reply::SetAck);
        row("wake threshold ack", "770700000001424a", Reply::SetAck);
        row("date set ack", "770700000001656d", Reply::SetAck);
        row("installation ack", "7707000000016a72", Reply::SetAck);
        row("alarm ack", "7707000000016b73", Reply::SetAck);
        row("checksum past the end", "7709000000016971", Reply::Dropped);
        row("date wrong checksum", "770d000000016624030109050300", Reply::DateTime,
            "24 03 01 09 05 03");
        row("date code with other length", "7707000000016666", Reply::Dropped);
        row("sleep ack, sum with code 46", "77090000000156003080", Reply::MotionOrSleepAck);
        row("motion ack", "770800000001530561", Reply::MotionOrSleepAck);
        row("sleep query 30", "77090000000157003091", Reply::SleepQuery, "30");
        row("sleep query 120", "77090000000157012082", Reply::SleepQuery, "120");
        row("sleep query bad", "77090000000157003000", Reply::Dropped);
        row("zero mode FF", "7708000000018dff95", Reply::ZeroMode, "1");
        row("zero mode 0", "7708000000018d0096", Reply::ZeroMode, "0");
        row("zero mode without data", "7706000000878d", Reply::ZeroMode, "0");
        row("zero mode beyond the items", "7708000000018d8d23", Reply::Dropped);
        row("live", liveHex, Reply::LiveData);
        row("page", page36Hex, Reply::ReadbackPage);
        row("page bad crc",
            "7701000000006dff0102030405060708090a0b0c0d0e0f10111213141516171803731b76",
            Reply::ReadbackPageBadCrc);
        row("delete ack", "770700000001636b", Reply::DeleteAck);
        row("unknown code", "77070000000199a1", Reply::Dropped);
        row("firmware ack", firmwareAckHex, Reply::FirmwareReply, "ack");
        row("firmware ack bad crc", "5a820001019dcd5f11", Reply::Dropped);
        row("firmware info", firmwareInfoHex, Reply::FirmwareReply, "info");
    }

    void classify()
    {
        QFETCH(QByteArray, frame);
        QFETCH(Reply::Kind, kind);
        QFETCH(QString, values);
        const Reply reply = classifyReply(frame);
        QCOMPARE(reply.kind, kind);
        // The values the reply carries, as one comparable text.
        QString carried;
        if (kind == Reply::Address)
            carried = reply.address;
        else if (kind == Reply::DateTime)
            carried = reply.dateTime.join(QLatin1Char(' '));
        else if (kind == Reply::SleepQuery)
            carried = reply.sleepText;
        else if (kind == Reply::ZeroMode)
            carried = QString::number(reply.zeroModeIndex);
        else if (kind == Reply::FirmwareReply)
            carried = reply.firmwareInfo ? "info" : "ack";
        QCOMPARE(carried, values);
    }
};

QTEST_GUILESS_MAIN(TestReply)
#include "tst_reply.moc"
