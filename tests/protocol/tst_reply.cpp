#include "protocol/reply.h"

#include <QtTest>

Q_DECLARE_METATYPE(Reply::Kind)

namespace {

// The values a reply carries, as one comparable text.
QString valuesOf(const Reply &reply)
{
    switch (reply.kind) {
    case Reply::Address:
        return reply.address;
    case Reply::DateTime:
        return reply.dateTime.join(QLatin1Char(' '));
    case Reply::SleepQuery:
        return reply.sleepText;
    case Reply::ZeroMode:
        return QString::number(reply.zeroModeIndex);
    case Reply::FirmwareReply:
        return reply.firmwareInfo ? QStringLiteral("info") : QStringLiteral("ack");
    default:
        return QString();
    }
}

} // namespace

class TestReply : public QObject {
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
};

void TestReply::classify_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<Reply::Kind>("kind");
    QTest::addColumn<QString>("values");

    const auto row = [](const char *name, const char *hexFrame, Reply::Kind kind,
                         const QString &values = QString()) {
        QTest::newRow(name) << QByteArray::fromHex(hexFrame) << kind << values;
    };

    row("empty", "", Reply::Dropped);
    row("single byte", "77", Reply::Dropped);
    row("unknown header", "0007000000016971", Reply::Dropped);
    row("too short", "770700000001", Reply::Dropped);

    row("address", "770b000000001f123456783e", Reply::Address, "12345678");
    row("address from any sender", "770bffffffff1f0000000a30", Reply::Address, "0000000a");
    row("address bad checksum", "770b000000001f123456783f", Reply::Dropped);
    row("address missing checksum", "770b000000001f12345678", Reply::Dropped);

    row("set address ack", "7707000000018f97", Reply::SetAddressAck);
    row("set address ack bad", "7707000000018f96", Reply::Dropped);
    row("baud ack", "7707000000018b93", Reply::BaudAck);

    row("upload mode ack", "7707000000016971", Reply::SetAck);
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

    row("date", "770d0000000166240301090503ad", Reply::DateTime, "24 03 01 09 05 03");
    row("date wrong checksum", "770d000000016624030109050300", Reply::DateTime,
        "24 03 01 09 05 03");
    row("date code with other length", "7707000000016666", Reply::Dropped);

    row("sleep ack", "77090000000156003090", Reply::MotionOrSleepAck);
    row("sleep ack reduced code sum", "77090000000156003080", Reply::MotionOrSleepAck);
    row("sleep ack bad", "77090000000156003070", Reply::Dropped);
    row("motion ack", "770800000001530561", Reply::MotionOrSleepAck);
    row("sleep query 30", "77090000000157003091", Reply::SleepQuery, "30");
    row("sleep query 120", "77090000000157012082", Reply::SleepQuery, "120");
    row("sleep query reduced code sum", "77090000000157003081", Reply::SleepQuery, "30");
    row("sleep query hex digits", "770900000001570abc27", Reply::SleepQuery, "abc");
    row("sleep query bad", "77090000000157003000", Reply::Dropped);

    row("zero mode FF", "7708000000018dff95", Reply::ZeroMode, "1");
    row("zero mode 0", "7708000000018d0096", Reply::ZeroMode, "0");
    row("zero mode without data", "7706000000878d", Reply::ZeroMode, "0");
    row("zero mode bad", "7708000000018dff00", Reply::Dropped);

    row("live", "772300000001831012345601234567f00010000098123411000000000000010025505ae2",
        Reply::LiveData);
    row("live bad", "772300000001831012345601234567f00010000098123411000000000000010025505ae3",
        Reply::Dropped);

    row("page", "7701000000006dff0102030405060708090a0b0c0d0e0f10111213141516171803731b75",
        Reply::ReadbackPage);
    row("page bad crc", "7701000000006dff0102030405060708090a0b0c0d0e0f10111213141516171803731b76",
        Reply::ReadbackPageBadCrc);

    row("delete ack", "770700000001636b", Reply::DeleteAck);
    row("delete ack bad", "770700000001636c", Reply::Dropped);
    row("unknown code", "77070000000199a1", Reply::Dropped);
    row("echoed request", "770700000001030b", Reply::Dropped);

    row("firmware ack", "5a820001019dcd5f10", Reply::FirmwareReply, "ack");
    row("firmware ack bad crc", "5a820001019dcd5f11", Reply::Dropped);
    row("firmware too short", "5a8200019dcd5f", Reply::Dropped);
    row("firmware info",
        "5a8156312e302e34000000000000000000000000000000000000000000000000000000000000000000000000"
        "000000000000000004f8dc79",
        Reply::FirmwareReply, "info");
}

void TestReply::classify()
{
    QFETCH(QByteArray, frame);
    QFETCH(Reply::Kind, kind);
    QFETCH(QString, values);
    const Reply reply = classifyReply(frame);
    QCOMPARE(reply.kind, kind);
    QCOMPARE(valuesOf(reply), values);
}

QTEST_GUILESS_MAIN(TestReply)
#include "tst_reply.moc"
