// Stored records: pages decoded into the table's texts, the range rules, and the requests the
// readback sends for each event.
#include "protocol/checksum.h"
#include "records/recordreadback.h"

#include <QtTest>

namespace {

// 'a' page, 24-byte records, more to follow: -180.0000 leaves Z empty.
const char ascendingPage[] = "77020000000061001a01020304050123456710000100118000001025500057001a"
    "01020305050000000100895000000000000099990064006546a5c3";
// 'm' page, 36-byte records R0 R1 R2, last; shown as R2 R1 R0.
const char descendingPage[] = "7703800000006dff7d0c1f173b3b0000000000000000000000000000000000112345"
    "6700000001099999990000010100000011799999010000001179999911000000ff0000000010000000000000"
    "00001a0b1e0c000000450000104500000180000000000100010100000010000010000001000027f59f1d";

// "kind N [m]": a page of no records, told apart by an uninterpreted byte; "last", or with a
// broken CRC ("bad"); an 'm' page when marked so.
QByteArray page(const QString &word)
{
    QByteArray bytes = QByteArray::fromHex(word.endsWith('m') ? "7700000000006d" : "77000000000061");
    bytes[3] = char(word.section(' ', 1, 1).toInt());
    bytes.append(char(word.startsWith("last") ? 0xFF : 0x00));
    bytes += Checksum::crc32Bytes(bytes, bytes.size());
    if (word.startsWith("bad"))
        bytes[bytes.size() - 1] = char(bytes.at(bytes.size() - 1) ^ 1);
    return bytes;
}

} // namespace

class TestRecordReadback : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows"); // the texts of each row, columns joined by '|'
        QTest::newRow("ascending, 24 bytes") << QByteArray(ascendingPage) << QStringList{
            "2026-01-02|03:04:05|123.4567|-0.0100|||||-25.50|87 more",
            "2026-01-02|03:05:05|0.0001|89.5000|0.0000||||99.99|100 more"};
        QTest::newRow("descending, 36 bytes, reversed") << QByteArray(descendingPage) << QStringList{
            "2026-11-30|12:00:00|45.0000|-45.0000|180.0000|1.00000|-0.00001|0.00010|0.01|1 last",
            "2000-01-01|00:00:00|-179.9999|100.0000|-179.9999|0.00000|0.00000|0.00000|-100.00|255 last",
            "20125-12-31|23:59:59|0.0000|0.0000|0.0000|-1.23457|0.00000|10.00000|0.00|0 last"};
        QTest::newRow("last page, no records") << QByteArray("77000000000061ff9253f28b")
                                               << QStringList{" last"};
    }
    void pages()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        const RecordPage page = decodeRecordPage(QByteArray::fromHex(bytes));
        QStringList shown;
        for (const StoredRecord &record : page.records) {
            QStringList cells;
            for (int column = 0; column < RecordColumn::Count; ++column)
                cells << record.text(column);
            shown << cells.join('|') + (page.last ? " last" : " more");
        }
        QCOMPARE(shown.isEmpty() ? QStringList{page.last ? " last" : " more"} : shown, rows);
        QVERIFY(page.crcOk);
        QByteArray broken = QByteArray::fromHex(bytes);
        broken[9] = char(broken.at(9) ^ 0x40);
        QVERIFY(!decodeRecordPage(broken).crcOk);
    }

    void ranges_data()
    {
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("begin");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("sent");
        QTest::newRow("all") << true << "9" << "3" << "1-60000";
        QTest::newRow("0 to 0") << false << "0" << "0" << "1-0";
        QTest::newRow("end held") << false << "5" << "70000" << "5-60000";
        QTest::newRow("low 16 bits") << false << "70000" << "80000" << "4464-60000";
        QTest::newRow("not a number is 0") << false << "x" << "3" << "1-3";
        QTest::newRow("begin above end") << false << "9" << "3" << "refused";
        QTest::newRow("above as typed") << false << "80000" << "70000" << "refused";
    }
    void ranges()
    {
        QFETCH(bool, all);
        QFETCH(QString, begin);
        QFETCH(QString, end);
        QFETCH(QString, sent);
        const auto range = recordRange(all, begin, end);
        QCOMPARE(range ? QString("%1-%2").arg(range->begin).arg(range->end) : "refused", sent);
    }

    // Each event and what goes out: the request in hex ("-" for none), the state after it, and
    // whether a page was taken.
    void conversation_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("sent");
        const QString first = "770c0000000161000001ea60b9", next = "770c0000000161100001ea60c9",
                      same = "770c0000000161110001ea60ca";
        QTest::newRow("pages to the last") << QStringList{"start a", "page 1", "last 2"}
            << QStringList{first + " R", next + " R +", "- I done"};
        QTest::newRow("descending, bad page asked again")
            << QStringList{"start m", "bad 1 m", "page 1 m"}
            << QStringList{"7708000000016d0076 R", "7708000000016d1187 R", "7708000000016d1086 R +"};
        QTest::newRow("page landing in a pause, continued")
            << QStringList{"start a", "pause", "page 1", "resume"}
            << QStringList{first + " R", "- P", "- P +", next + " R"};
        QTest::newRow("lost page asked again, its repeat not taken twice")
            << QStringList{"start a", "page 1", "timeout", "resume", "page 1", "page 2"}
            << QStringList{first + " R", next + " R +", "- P", same + " R", next + " R", next + " R +"};
        QTest::newRow("nothing came: begin again")
            << QStringList{"start a", "timeout", "resume"}
            << QStringList{first + " R", "- P", first + " R"};
        QTest::newRow("stop while reading goes out with the next request")
            << QStringList{"start a", "page 1", "stop", "page 2", "page 3"}
            << QStringList{first + " R", next + " R +", "- S", "770c0000000162100001ea60ca I +", "- I"};
        QTest::newRow("stop while paused goes out now, long form")
            << QStringList{"start m", "pause", "stop"}
            << QStringList{"7708000000016d0076 R", "- P", "770c0000000162000001ea60ba I"};
        QTest::newRow("stop never sent: sent at the time-out")
            << QStringList{"start a", "stop", "timeout"}
            << QStringList{first + " R", "- S", "770c0000000162000001ea60ba I"};
        QTest::newRow("last page while paused ends the read")
            << QStringList{"start a", "pause", "last 1", "resume"}
            << QStringList{first + " R", "- P", "- I done", "- I"};
        QTest::newRow("erase: sub-code and range of the last read")
            << QStringList{"erase", "start a", "bad 1", "erase"}
            << QStringList{"770c0000000163000000000070 I", first + " R", same + " R",
                           "770c0000000163110001ea60cc R"};
    }
    void conversation()
    {
        QFETCH(QStringList, events);
        QFETCH(QStringList, sent);
        RecordReadback readback;
        const RecordRange all{1, 60000};
        QStringList shown;
        for (const QString &event : events) {
            QByteArray request;
            QString taken; // " +" for a page taken into the read, " done" for the last one
            if (event.startsWith("start"))
                request = readback.start(1, event.endsWith('m') ? RecordReadback::Order::Descending
                                                                : RecordReadback::Order::Ascending,
                                         all);
            else if (event == "pause")
                readback.pause(all);
            else if (event == "resume")
                request = readback.resume(1, all);
            else if (event == "stop")
                request = readback.stop();
            else if (event == "timeout")
                request = readback.timedOut();
            else if (event == "erase")
                request = readback.eraseRequest(1);
            else {
                const RecordReadback::PageResult result = readback.takePage(page(event));
                request = result.request;
                taken = result.finished ? " done" : result.accepted ? " +" : "";
            }
            shown << (request.isEmpty() ? "-" : request.toHex()) + ' '
                    + "IRPS"[int(readback.state())] + taken;
        }
        QCOMPARE(shown, sent);
    }
};

QTEST_GUILESS_MAIN(TestRecordReadback)
#include "tst_recordreadback.moc"
