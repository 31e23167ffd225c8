// Stored records: pages decoded into the table's texts, and the range rules. The conversation
// itself is tested through the window against the simulated sensor.
#include "records/recordreadback.h"

#include <QtTest>

namespace {

// 'a' page, 24-byte records, more to follow: -180.0000 leaves Z empty.
const char ascendingPage[] = "77020000000061001a01020304050123456710000100118000001025500057001a"
                             "01020305050000000100895000000000000099990064006546a5c3";
// 'm' page, 36-byte records R0 R1 R2, last; shown as R2 R1 R0.
const char descendingPage[]
    = "7703800000006dff7d0c1f173b3b0000000000000000000000000000000000112345"
      "6700000001099999990000010100000011799999010000001179999911000000ff0000000010000000000000"
      "00001a0b1e0c000000450000104500000180000000000100010100000010000010000001000027f59f1d";

} // namespace

class TestRecordReadback : public QObject {
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows"); // the texts of each row, columns joined by '|'
        QTest::newRow("ascending, 24 bytes")
            << QByteArray(ascendingPage)
            << QStringList { "2026-01-02|03:04:05|123.4567|-0.0100|||||-25.50|87 more",
                   "2026-01-02|03:05:05|0.0001|89.5000|0.0000||||99.99|100 more" };
        QTest::newRow("descending, 36 bytes, reversed")
            << QByteArray(descendingPage)
            << QStringList {
                   "2026-11-30|12:00:00|45.0000|-45.0000|180.0000|1.00000|-0.00001|0.00010|0.01|1 "
                   "last",
                   "2000-01-01|00:00:00|-179.9999|100.0000|-179.9999|0.00000|0.00000|0.00000|-100."
                   "00|255 last",
                   "20125-12-31|23:59:59|0.0000|0.0000|0.0000|-1.23457|0.00000|10.00000|0.00|0 last"
               };
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
        QCOMPARE(shown, rows);
        QVERIFY(page.crcOk);
        QByteArray broken = QByteArray::fromHex(bytes);
        broken[9] = char(broken.at(9) ^ 0x40);
        QVERIFY(!decodeRecordPage(broken).crcOk);
    }

    // "all begin end" and the range sent.
    void ranges()
    {
        QStringList sent;
        for (const char *typed :
            { "1 9 3", "0 0 0", "0 5 70000", "0 70000 80000", "0 x 3", "0 9 3", "0 80000 70000" }) {
            const QStringList t = QString(typed).split(' ');
            const auto range = recordRange(t[0] == "1", t[1], t[2]);
            sent << (range ? QString("%1-%2").arg(range->begin).arg(range->end) : "refused");
        }
        QCOMPARE(sent,
            QStringList(
                { "1-60000", "1-0", "5-60000", "4464-60000", "1-3", "refused", "refused" }));
    }
};

QTEST_GUILESS_MAIN(TestRecordReadback)
#include "tst_recordreadback.moc"
