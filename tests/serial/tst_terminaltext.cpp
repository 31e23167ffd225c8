// The terminal tab's text: the bytes a typed line sends, and the log line of a block.
#include "serial/terminaltext.h"

#include <QtTest>

using namespace TerminalText;

class TestTerminalText : public QObject
{
    Q_OBJECT

private slots:
    void typed_data();
    void typed();
    void logged_data();
    void logged();
};

void TestTerminalText::typed_data()
{
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray request = QByteArray::fromHex("7707000000001f26");
    QTest::newRow("hex, pairs") << true << "77 07 00 00 00 00 1F 26" << request;
    QTest::newRow("hex, blanks anywhere, lower case") << true << "  7707 00000000 1f26 " << request;
    QTest::newRow("hex, digit then blank is a group") << true << "7 07" << QByteArray("\x07\x07");
    QTest::newRow("hex, odd length keeps last digit") << true << "123" << QByteArray("\x12\x03");
    QTest::newRow("hex, not hex gives zero") << true << "1G 20 GZ" << QByteArray("\0\x20\0", 3);
    QTest::newRow("hex, sign or tab is no digit") << true << "+f\t1" << QByteArray("\0\0", 2);
    QTest::newRow("text to a zero") << false << QString::fromLatin1("AT\0b", 4) << QByteArray("AT");
}

void TestTerminalText::typed()
{
    QFETCH(bool, hex);
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QCOMPARE((hex ? parseHexSend(typed) : textToSend(typed)).toHex(' '), bytes.toHex(' '));
}

void TestTerminalText::logged_data()
{
    QTest::addColumn<bool>("sent");
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line"); // after the time stamp
    QTest::newRow("sent hex") << true << true << QByteArray("\x07\xab") << "send→ 07 ab";
    QTest::newRow("received hex") << false << true << QByteArray("\x07\xab") << "rec← 07 AB ";
    QTest::newRow("sent text, Latin-1 with zeros")
        << true << false << QByteArray("A\0B\xe9", 4) << QString("send→ A") + QChar(0) + "Bé";
    QTest::newRow("received text") << false << false << QByteArray("\xe2\x86\x92\0", 4) << "rec← →";
    QTest::newRow("markup as text") << false << false << QByteArray("<b>&amp;") << "rec← <b>&amp;";
    QTest::newRow("empty received hex") << false << true << QByteArray() << "rec← ";
}

void TestTerminalText::logged()
{
    QFETCH(bool, sent);
    QFETCH(bool, hex);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    const QTime t(9, 41, 7, 250);
    QCOMPARE(sent ? sentLine(t, bytes, hex) : receivedLine(t, bytes, hex), "[09:41:07.250]" + line);
}

QTEST_GUILESS_MAIN(TestTerminalText)
#include "tst_terminaltext.moc"
