#include "params/moduleanswer.h"
#include "params/modulecommands.h"

#include <QtTest>

Q_DECLARE_METATYPE(ExchangeStep)

class TestModuleAnswer : public QObject
{
    Q_OBJECT

private slots:
    void recognises_data();
    void recognises();
    void exchanges_data();
    void exchanges();
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

// Every module exchange as "line|pause", with a "*" where the one-key verdict counts the answer.
void TestModuleAnswer::exchanges_data()
{
    QTest::addColumn<Exchange>("exchange");
    QTest::addColumn<QStringList>("steps");
    const auto row = [](const char *name, const Exchange &exchange, const QStringList &commands) {
        QTest::newRow(name) << exchange
                            << QStringList {"ATE1|100"} + commands + QStringList {"ATE0|0"};
    };
    using namespace ModuleCommands;
    row("band set", setBand(3), {"AT+BAND=3|300*"});
    row("band query", queryBand(), {"AT+BAND?|300"});
    row("heart set", setHeart(1), {"AT+HEART=1|300*"});
    row("heart query", queryHeart(), {"AT+HEART?|300"});
    row("channels as typed", setChannels(" 1, 2 ,%1", "信道"),
        {"AT+CHANNEL= 1, 2 ,%1|300*", "AT+CHANNEL=信道|300*"});
    row("channel query", queryChannels(), {"AT+CHANNEL?|300"});
    row("deveui", queryId(0), {"AT+DEVEUI?|300"});
    row("appeui", queryId(1), {"AT+APPEUI?|300"});
    row("appkey", queryId(2), {"AT+APPKEY?|300"});
    row("appkey for any other", queryId(-1), {"AT+APPKEY?|300"});
    row("renew", renew(), {"AT+RENEW|300"});
    row("save", save(), {"AT+SAVE|100*", "AT+RESET|100"});
    row("one-key set", oneKeySet({6, 1, "0-7", "8"}),
        {"AT+BAND=6|300*", "AT+HEART=1|300*", "AT+CHANNEL=0-7|300*", "AT+CHANNEL=8|300*",
         "AT+SAVE|300*", "AT+RESET|300"});
}

void TestModuleAnswer::exchanges()
{
    QFETCH(Exchange, exchange);
    QFETCH(QStringList, steps);
    QStringList got;
    for (const ExchangeStep &step : exchange) {
        QVERIFY(step.bytes.endsWith("\r\n"));
        got << QString::fromUtf8(step.bytes.chopped(2)) + '|' + QString::number(step.pauseMs)
                   + (step.counted ? "*" : "");
    }
    QCOMPARE(got, steps);
    QCOMPARE(expectedAnswers(exchange), int(steps.filter("*").size()));
}

QTEST_GUILESS_MAIN(TestModuleAnswer)
#include "tst_moduleanswer.moc"
