#include "protocol/reply.h"
#include "protocol/replyassembler.h"

#include <QtTest>

Q_DECLARE_METATYPE(ReplyAssembler::Kind)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const char ackHex[] = "7707000000016971";
const char liveHex[] = "772300000001831012345601234567f00010000098123411000000000000010025505ae2";
const char firmwareAckHex[] = "5a820001019dcd5f10";
// N = 2 records of 36 bytes (flag 0x80): 84 bytes.
const char page84Hex[]
    = "77028000000061000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f202122"
      "23240102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f20212223245415e7b9";
// N = 2 records of 24 bytes (flag 0x00): 60 bytes.
const char page60Hex[]
    = "77020000000061000102030405060708090a0b0c0d0e0f1011121314151617180102030405060708090a"
      "0b0c0d0e0f1011121314151617183ad799db";

} // namespace

class TestReplyAssembler : public QObject {
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void chunked_data();
    void chunked();
    void pageWithTrailingBytesKeepsItsCrc();
    void garbageAfterReplyIsDiscardedAlone();
};

void TestReplyAssembler::check_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<ReplyAssembler::Kind>("kind");
    QTest::addColumn<int>("size");

    const QByteArray ack = hex(ackHex);
    QTest::newRow("empty") << QByteArray() << ReplyAssembler::NeedMore << 0;
    QTest::newRow("lone header") << hex("77") << ReplyAssembler::NeedMore << 0;
    QTest::newRow("seven bytes") << ack.left(7) << ReplyAssembler::NeedMore << 0;
    QTest::newRow("firmware start") << hex("5a81") << ReplyAssembler::NeedMore << 0;
    QTest::newRow("stray zero") << hex("00") << ReplyAssembler::Discard << 0;
    QTest::newRow("stray byte before frame") << hex("00") + ack << ReplyAssembler::Discard << 0;
    QTest::newRow("module text") << QByteArray("OK+BAND=1\r\n") << ReplyAssembler::ModuleText << 0;
    QTest::newRow("module text short") << QByteArray("OK") << ReplyAssembler::ModuleText << 0;
    QTest::newRow("ack") << ack << ReplyAssembler::Complete << 8;
    QTest::newRow("two acks") << ack + ack << ReplyAssembler::Complete << 8;
    QTest::newRow("live partial") << hex(liveHex).left(20) << ReplyAssembler::NeedMore << 0;
    QTest::newRow("live") << hex(liveHex) << ReplyAssembler::Complete << 36;
    QTest::newRow("length byte below 7") << hex("7702000000006900") << ReplyAssembler::Discard << 0;
    QTest::newRow("page 36-byte records") << hex(page84Hex) << ReplyAssembler::Complete << 84;
    QTest::newRow("page one short") << hex(page84Hex).left(83) << ReplyAssembler::NeedMore << 0;
    QTest::newRow("page 24-byte records") << hex(page60Hex) << ReplyAssembler::Complete << 60;
    QTest::newRow("descending page")
        << hex("7701000000006dff") + QByteArray(28, '\0') << ReplyAssembler::Complete << 36;
    QTest::newRow("firmware ack") << hex(firmwareAckHex) << ReplyAssembler::Complete << 9;
    QTest::newRow("firmware ack eight bytes")
        << hex(firmwareAckHex).left(8) << ReplyAssembler::NeedMore << 0;
    QTest::newRow("firmware info waits for 56")
        << hex("5a81") + QByteArray(53, 'v') << ReplyAssembler::NeedMore << 0;
    QTest::newRow("firmware info")
        << hex("5a81") + QByteArray(54, 'v') << ReplyAssembler::Complete << 56;
}

void TestReplyAssembler::check()
{
    QFETCH(QByteArray, buffer);
    QFETCH(ReplyAssembler::Kind, kind);
    QFETCH(int, size);
    const ReplyAssembler::Completion completion = ReplyAssembler::check(buffer);
    QCOMPARE(completion.kind, kind);
    QCOMPARE(completion.size, size);
}

void TestReplyAssembler::chunked_data()
{
    QTest::addColumn<int>("chunkSize");
    for (int size : { 1, 2, 3, 5, 7, 8, 13, 36, 64, 500 })
        QTest::newRow(qPrintable(QString::number(size))) << size;
}

void TestReplyAssembler::chunked()
{
    QFETCH(int, chunkSize);
    const QList<QByteArray> sent = { hex(ackHex), hex(liveHex), hex(page84Hex), hex(firmwareAckHex),
        hex(page60Hex), hex(ackHex) };
    QByteArray stream;
    for (const QByteArray &reply : sent)
        stream += reply;

    QByteArray buffer;
    QList<QByteArray> received;
    for (int at = 0; at < stream.size(); at += chunkSize) {
        buffer += stream.mid(at, chunkSize);
        QByteArray reply;
        while (!(reply = ReplyAssembler::takeReply(buffer)).isEmpty())
            received.append(reply);
    }
    QCOMPARE(received, sent);
    QVERIFY(buffer.isEmpty());
}

void TestReplyAssembler::pageWithTrailingBytesKeepsItsCrc()
{
    QByteArray buffer = hex(page84Hex) + hex(ackHex).left(5);
    const QByteArray page = ReplyAssembler::takeReply(buffer);
    QCOMPARE(classifyReply(page).kind, Reply::ReadbackPage);
    QCOMPARE(buffer, hex(ackHex).left(5));
}

void TestReplyAssembler::garbageAfterReplyIsDiscardedAlone()
{
    QByteArray buffer = hex(ackHex) + hex("0102");
    QCOMPARE(ReplyAssembler::takeReply(buffer), hex(ackHex));
    QCOMPARE(ReplyAssembler::takeReply(buffer), QByteArray());
    QVERIFY(buffer.isEmpty());
}

QTEST_GUILESS_MAIN(TestReplyAssembler)
#include "tst_replyassembler.moc"
