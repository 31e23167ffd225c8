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
    using A = ModuleAnswer;
    const auto row = [](const char *name, const QByteArray &received, A::Kind kind, int index = 0,
                        const char *text = "", const char *text2 = "") {
        QTest::newRow(name) << received << int(kind) << index << QString(text) << QString(text2);
    };
    row("band set", "OK+BAND\r\n", A::BandSet);
    row("band query EU868", "OK+BAND:03\r\n", A::BandQuery, 3);
    row("band value not hex selects item 0", "OK+BAND:zz\r\n", A::BandQuery, 0);
    row("band value with a sign selects item 0", "OK+BAND:-f\r\n", A::BandQuery, 0);
    row("band value beyond the list", "OK+BAND:0A\r\n", A::BandQuery, 10);
    // "OK+BAND but not OK+BAND:" fails as soon as a colon follows somewhere in the text.
    row("bare key and query together read as the query", "OK+BAND\r\nOK+BAND:05\r\n",
        A::BandQuery, 5);
    row("band row wins over a later heart answer", "OK+HEART\r\nOK+BAND\r\n", A::BandSet);
    row("channel set", "OK+CHANNEL\r\n", A::ChannelSet);
    row("channel query, two lines", "OK+CHANNEL:0-7\r\nOK+CHANNEL:8,9 ,10\r\n", A::ChannelQuery,
        0, "0-7", "8,9 ,10");
    row("channel query, one line empties the second", "OK+CHANNEL:0-7\r\n", A::ChannelQuery, 0,
        "0-7");
    row("channel query without line end", "OK+CHANNEL:16", A::ChannelQuery, 0, "16");
    row("channel before heart in the order", "OK+HEART:01\r\nOK+CHANNEL\r\n", A::ChannelSet);
    row("heart set", "OK+HEART\r\n", A::HeartSet);
    row("heart query", "OK+HEART:01\r\n", A::HeartQuery, 1);
    row("deveui", "OK+DEVEUI:0011223344556677\r\n", A::DevEui, 0, "0011223344556677");
    row("appeui", "OK+APPEUI:70B3D57ED0000001\r\n", A::AppEui, 0, "70B3D57ED0000001");
    row("appkey of 40 cut to 32", "OK+APPKEY:000102030405060708090A0B0C0D0E0F10111213\r\n",
        A::AppKey, 0, "000102030405060708090A0B0C0D0E0F");
    row("save", "OK+SAVE\r\n", A::Saved);
    row("renew", "OK+RENEW\r\n", A::Renewed);
    row("two answers within 50 ms: the first row wins", "OK+SAVE\r\nOK+BAND\r\n", A::BandSet);
    row("plain OK", "OK\r\n", A::None);
    row("case matters", "ok+band\r\n", A::None);
    row("text after a zero byte is ignored", QByteArray("OK\0OK+SAVE\r\n", 12), A::None);
    row("empty", QByteArray(), A::None);
}

void TestModuleAnswer::recognises()
{
    QFETCH(QByteArray, received);
    QFETCH(int, kind);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, text2);
    const ModuleAnswer answer = parseModuleAnswer(received);
    QCOMPARE(int(answer.kind), kind);
    QCOMPARE(answer.index, index);
    QCOMPARE(answer.text, text);
    QCOMPARE(answer.text2, text2);
    // The one-key verdict counts the answers to sets and to save.
    const QList<int> counted {ModuleAnswer::BandSet, ModuleAnswer::ChannelSet,
                              ModuleAnswer::HeartSet, ModuleAnswer::Saved};
    QCOMPARE(answer.counted(), counted.contains(kind));
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
