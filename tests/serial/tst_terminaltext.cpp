#include "serial/portnames.h"
#include "serial/terminaltext.h"

#include <QtTest>

class TestTerminalText : public QObject
{
    Q_OBJECT

private slots:
    void hexSendGroups_data();
    void hexSendGroups();
    void textSendStopsAtZero();
    void logLines_data();
    void logLines();
    void extraPorts_data();
    void extraPorts();
};

void TestTerminalText::hexSendGroups_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray request = QByteArray::fromHex("7707000000001f26");
    QTest::newRow("blank separated") << "77 07 00 00 00 00 1F 26" << request;
    QTest::newRow("no blanks") << "7707000000001F26" << request;
    QTest::newRow("blanks between some pairs") << "7707 00000000 1f26" << request;
    QTest::newRow("lower case") << "77070000 00001f26" << request;
    QTest::newRow("digit then blank is one group") << "7 07" << QByteArray::fromHex("0707");
    QTest::newRow("odd length keeps last digit") << "123" << QByteArray::fromHex("1203");
    QTest::newRow("not hex gives zero") << "GZ" << QByteArray(1, '\0');
    QTest::newRow("half valid group gives zero") << "1G 20" << QByteArray::fromHex("0020");
    QTest::newRow("leading and trailing blanks") << "  AB  " << QByteArray::fromHex("ab");
    QTest::newRow("empty") << "" << QByteArray();
}

void TestTerminalText::hexSendGroups()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TerminalText::parseHexSend(typed).toHex(' '), bytes.toHex(' '));
}

void TestTerminalText::textSendStopsAtZero()
{
    QCOMPARE(TerminalText::textToSend(QStringLiteral("AT+BAND?")), QByteArray("AT+BAND?"));
    QCOMPARE(TerminalText::textToSend(QString::fromLatin1("ab\0cd", 5)), QByteArray("ab"));
    QCOMPARE(TerminalText::textToSend(QString()), QByteArray());
}

void TestTerminalText::logLines_data()
{
    QTest::addColumn<bool>("sent");
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line");
    const QByteArray request = QByteArray::fromHex("7707000000001f26");
    QTest::newRow("sent hex: lower case, no trailing blank")
        << true << true << request
        << QString::fromUtf8("[09:41:07.250]send→ 77 07 00 00 00 00 1f 26");
    QTest::newRow("received hex: upper case, trailing blank")
        << false << true << request
        << QString::fromUtf8("[09:41:07.250]rec← 77 07 00 00 00 00 1F 26 ");
    QTest::newRow("sent text keeps zero bytes and Latin-1")
        << true << false << QByteArray("A\0B\xe9", 4)
        << QString::fromUtf8("[09:41:07.250]send→ A") + QChar(0) + QString::fromUtf8("Bé");
    QTest::newRow("received text is UTF-8 up to the first zero")
        << false << false << QByteArray("OK+BAND:3\xe2\x86\x92\0junk", 17)
        << QString::fromUtf8("[09:41:07.250]rec← OK+BAND:3→");
    QTest::newRow("empty sent block") << true << false << QByteArray()
                                      << QString::fromUtf8("[09:41:07.250]send→ ");
    QTest::newRow("empty received hex") << false << true << QByteArray()
                                        << QString::fromUtf8("[09:41:07.250]rec← ");
}

void TestTerminalText::logLines()
{
    QFETCH(bool, sent);
    QFETCH(bool, hex);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    const QTime at(9, 41, 7, 250);
    const QString made = sent ? TerminalText::sentLine(at, bytes, hex)
                              : TerminalText::receivedLine(at, bytes, hex);
    QCOMPARE(made, line);
}

void TestTerminalText::extraPorts_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("none") << "" << QStringList();
    QTest::newRow("one") << "/dev/pts/7" << QStringList {"/dev/pts/7"};
    QTest::newRow("two, empty entry and duplicate dropped")
        << "/dev/pts/7::/dev/serial/by-id/usb-x:/dev/pts/7"
        << QStringList {"/dev/pts/7", "/dev/serial/by-id/usb-x"};
}

void TestTerminalText::extraPorts()
{
    QFETCH(QString, list);
    QFETCH(QStringList, names);
#ifdef Q_OS_WIN
    list.replace(':', ';');
#endif
    QCOMPARE(extraPortNames(list), names);
}

QTEST_GUILESS_MAIN(TestTerminalText)
#include "tst_terminaltext.moc"
