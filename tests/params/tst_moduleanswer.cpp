#include "params/moduleanswer.h"
#include "protocol/protocol.h"

#include <QtTest>

class TestModuleAnswer : public QObject
{
    Q_OBJECT

private slots:
    void recognises_data();
    void recognises();
    void commandLines_data();
    void commandLines();
    void exchangePacing();
};

void TestModuleAnswer::recognises_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("text2");
    QTest::addColumn<bool>("counted");
    using A = ModuleAnswer;
    QTest::newRow("band set") << QByteArray("OK+BAND\r\n") << int(A::BandSet) << 0 << "" << ""
                              << true;
    QTest::newRow("band query EU868") << QByteArray("OK+BAND:03\r\n") << int(A::BandQuery) << 3
                                      << "" << "" << false;
    QTest::newRow("band query US915") << QByteArray("OK+BAND:04\r\n") << int(A::BandQuery) << 4
                                      << "" << "" << false;
    QTest::newRow("band value not hex selects item 0")
        << QByteArray("OK+BAND:zz\r\n") << int(A::BandQuery) << 0 << "" << "" << false;
    QTest::newRow("band value beyond the list") << QByteArray("OK+BAND:0A\r\n")
                                                << int(A::BandQuery) << 10 << "" << "" << false;
    // A bare key and a key with a colon in one text: the query row is skipped for "contains
    // OK+BAND but not OK+BAND:" only when a colon follows somewhere.
    QTest::newRow("bare key and query together read as the query")
        << QByteArray("OK+BAND\r\nOK+BAND:05\r\n") << int(A::BandQuery) << 5 << "" << "" << false;
    QTest::newRow("band row wins over a later heart answer")
        << QByteArray("OK+HEART\r\nOK+BAND\r\n") << int(A::BandSet) << 0 << "" << "" << true;
    QTest::newRow("channel set") << QByteArray("OK+CHANNEL\r\n") << int(A::ChannelSet) << 0 << ""
                                 << "" << true;
    QTest::newRow("channel query, two lines")
        << QByteArray("OK+CHANNEL:0-7\r\nOK+CHANNEL:8,9 ,10\r\n") << int(A::ChannelQuery) << 0
        << "0-7" << "8,9 ,10" << false;
    QTest::newRow("channel query, one line empties the second")
        << QByteArray("OK+CHANNEL:0-7\r\n") << int(A::ChannelQuery) << 0 << "0-7" << "" << false;
    QTest::newRow("channel query without line end")
        << QByteArray("OK+CHANNEL:16") << int(A::ChannelQuery) << 0 << "16" << "" << false;
    QTest::newRow("channel before heart in the order")
        << QByteArray("OK+HEART:01\r\nOK+CHANNEL\r\n") << int(A::ChannelSet) << 0 << "" << ""
        << true;
    QTest::newRow("heart set") << QByteArray("OK+HEART\r\n") << int(A::HeartSet) << 0 << "" << ""
                               << true;
    QTest::newRow("heart query") << QByteArray("OK+HEART:01\r\n") << int(A::HeartQuery) << 1
                                 << "" << "" << false;
    QTest::newRow("deveui") << QByteArray("OK+DEVEUI:0011223344556677\r\n") << int(A::DevEui)
                            << 0 << "0011223344556677" << "" << false;
    QTest::newRow("appeui") << QByteArray("OK+APPEUI:70B3D57ED0000001\r\n") << int(A::AppEui)
                            << 0 << "70B3D57ED0000001" << "" << false;
    QTest::newRow("appkey of 32") << QByteArray("OK+APPKEY:000102030405060708090A0B0C0D0E0F\r\n")
                                  << int(A::AppKey) << 0 << "000102030405060708090A0B0C0D0E0F"
                                  << "" << false;
    QTest::newRow("appkey of 40 cut to 32")
        << QByteArray("OK+APPKEY:000102030405060708090A0B0C0D0E0F10111213\r\n") << int(A::AppKey)
        << 0 << "000102030405060708090A0B0C0D0E0F" << "" << false;
    QTest::newRow("save") << QByteArray("OK+SAVE\r\n") << int(A::Saved) << 0 << "" << "" << true;
    QTest::newRow("renew") << QByteArray("OK+RENEW\r\n") << int(A::Renewed) << 0 << "" << ""
                           << false;
    QTest::newRow("two answers within 50 ms: the first row wins")
        << QByteArray("OK+SAVE\r\nOK+BAND\r\n") << int(A::BandSet) << 0 << "" << "" << true;
    QTest::newRow("plain OK") << QByteArray("OK\r\n") << int(A::None) << 0 << "" << "" << false;
    QTest::newRow("case matters") << QByteArray("ok+band\r\n") << int(A::None) << 0 << "" << ""
                                  << false;
    QTest::newRow("text after a zero byte is ignored")
        << QByteArray("OK\0OK+SAVE\r\n", 12) << int(A::None) << 0 << "" << "" << false;
    QTest::newRow("empty") << QByteArray() << int(A::None) << 0 << "" << "" << false;
}

void TestModuleAnswer::recognises()
{
    QFETCH(QByteArray, received);
    QFETCH(int, kind);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, text2);
    QFETCH(bool, counted);
    const ModuleAnswer answer = parseModuleAnswer(received);
    QCOMPARE(int(answer.kind), kind);
    QCOMPARE(answer.index, index);
    QCOMPARE(answer.text, text);
    QCOMPARE(answer.text2, text2);
    QCOMPARE(answer.counted(), counted);
}

void TestModuleAnswer::commandLines_data()
{
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("expected");
    const Protocol p;
    QTest::newRow("open") << p.buildBracketLine(false) << QByteArray("ATE1\r\n");
    QTest::newRow("close") << p.buildBracketLine(true) << QByteArray("ATE0\r\n");
    QTest::newRow("band set") << p.buildBandCommand(false, 3) << QByteArray("AT+BAND=3\r\n");
    QTest::newRow("band query") << p.buildBandCommand(true, 3) << QByteArray("AT+BAND?\r\n");
    QTest::newRow("heart set") << p.buildHeartCommand(false, 1) << QByteArray("AT+HEART=1\r\n");
    QTest::newRow("heart query") << p.buildHeartCommand(true) << QByteArray("AT+HEART?\r\n");
    QTest::newRow("channel as typed")
        << p.buildChannelCommand(false, QStringLiteral(" 1, 2 ,%1"))
        << QByteArray("AT+CHANNEL= 1, 2 ,%1\r\n");
    QTest::newRow("channel non-ASCII as UTF-8")
        << p.buildChannelCommand(false, QString::fromUtf8("信道"))
        << QByteArray("AT+CHANNEL=\xe4\xbf\xa1\xe9\x81\x93\r\n");
    QTest::newRow("channel query ignores text")
        << p.buildChannelCommand(true, QStringLiteral("x")) << QByteArray("AT+CHANNEL?\r\n");
    QTest::newRow("deveui") << p.buildIdQuery(0) << QByteArray("AT+DEVEUI?\r\n");
    QTest::newRow("appeui") << p.buildIdQuery(1) << QByteArray("AT+APPEUI?\r\n");
    QTest::newRow("appkey") << p.buildIdQuery(2) << QByteArray("AT+APPKEY?\r\n");
    QTest::newRow("appkey for any other") << p.buildIdQuery(-1) << QByteArray("AT+APPKEY?\r\n");
    QTest::newRow("save") << p.buildSaveResetCommand(false) << QByteArray("AT+SAVE\r\n");
    QTest::newRow("reset") << p.buildSaveResetCommand(true) << QByteArray("AT+RESET\r\n");
    QTest::newRow("renew") << p.buildRenewCommand() << QByteArray("AT+RENEW\r\n");
}

void TestModuleAnswer::commandLines()
{
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, expected);
    QCOMPARE(built, expected);
}

void TestModuleAnswer::exchangePacing()
{
    const QList<AtStep> steps =
        moduleExchange({QByteArray("AT+SAVE\r\n"), QByteArray("AT+RESET\r\n")}, 100);
    QCOMPARE(steps.size(), 4);
    QCOMPARE(steps.at(0).line, QByteArray("ATE1\r\n"));
    QCOMPARE(steps.at(0).pauseMs, 100);
    QCOMPARE(steps.at(1).pauseMs, 100);
    QCOMPARE(steps.at(2).line, QByteArray("AT+RESET\r\n"));
    QCOMPARE(steps.at(3).line, QByteArray("ATE0\r\n"));
    QCOMPARE(steps.at(3).pauseMs, 0);
    QCOMPARE(moduleExchange({QByteArray("AT+BAND?\r\n")}).at(1).pauseMs, 300);
}

QTEST_GUILESS_MAIN(TestModuleAnswer)
#include "tst_moduleanswer.moc"
