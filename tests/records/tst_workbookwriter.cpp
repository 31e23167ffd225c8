#include "records/workbookwriter.h"

#include <QProcess>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

class TestWorkbookWriter : public QObject {
    Q_OBJECT

private slots:
    void writesTheTable_data();
    void writesTheTable();
};

void TestWorkbookWriter::writesTheTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("filled"); // rows from the first that hold `texts`, the 8th no Z angle
    QTest::addColumn<QString>("texts"); // separated by spaces
    QTest::addColumn<QString>("expected"); // what the reader finds after the header, or the error
    const QString rows19 = "A1:J19 thin black on 190 of 190 cells; 19 rows 1:19 high {20.0}\n";
    QTest::newRow("cleared table")
        << "export.xlsx" << 0 << "" << rows19 + "columns: - - - - - - - - - -\n";
    QTest::newRow("25 records")
        << "export.xlsx" << 25
        << "2026-01-01 00:01:00 -12.3456 0.5000 179.9999 -0.98765 0.01234 1.00000 24.50 87"
        << "A1:J26 thin black on 260 of 260 cells; 26 rows 1:26 high {20.0}\n"
           "columns: s='2026-01-01' s='00:01:00' n0.0000=-12.3456 n0.0000=0.5 -/n0.0000=179.9999 "
           "n0.00000=-0.98765 n0.00000=0.01234 n0.00000=1 n0.00=24.5 n0=87\n";
    QTest::newRow("missing folder")
        << "missing/export.xlsx" << 0 << ""
        << "Cannot write DIR/missing/export.xlsx: No such file or directory";
    QTest::newRow("folder of that name")
        << "folder.xlsx" << 0 << ""
        << "Cannot write DIR/folder.xlsx: Filename refers to a directory";
    QTest::newRow("text too long for a cell")
        << "export.xlsx" << 1 << QString(32768, 'x')
        << "Cannot build the workbook: a cell text is longer than the 32767 characters a cell can "
           "hold.";
}

void TestWorkbookWriter::writesTheTable()
{
    QFETCH(QString, name);
    QFETCH(int, filled);
    QFETCH(QString, texts);
    QFETCH(QString, expected);
    QStandardItemModel model(qMax(18, filled), 10); // as the window's table: 18 rows or more
    model.setHorizontalHeaderLabels(
        { "Date", "Time", "X(°)", "Y(°)", "Z(°)", "X(g)", "Y(g)", "Z(g)", "Temp(℃)", "Power" });
    const QStringList cells = texts.split(' ');
    for (int r = 0; r < filled; ++r)
        for (int c = 0; c < cells.size(); ++c)
            model.setItem(r, c, new QStandardItem(r == 7 && c == 4 ? "" : cells[c]));
    QTemporaryDir dir;
    QFile old(dir.filePath("export.xlsx")); // an earlier export, replaced only by a whole one
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush());
    QVERIFY(QDir(dir.path()).mkdir("folder.xlsx"));
    WorkbookWriter writer;
    if (!writer.write(dir.filePath(name), model)) { // nothing new left, the earlier export kept
        QCOMPARE(writer.errorString().replace(dir.path(), "DIR"), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' ')
                + QString::number(QFileInfo(old).size()),
            "export.xlsx folder.xlsx3");
        return;
    }
    QProcess checker;
    checker.setProcessChannelMode(QProcess::MergedChannels);
    checker.start(PYTHON, { CHECKER, dir.filePath(name) });
    QVERIFY(checker.waitForFinished(-1));
    const QString header = "Angle Data: Date|Time|X(°)|Y(°)|Z(°)|X(g)|Y(g)|Z(g)|Temp(℃)|Power\n"
                           "header: [(True, 'FF969696', 'center')]\nwidths: ['1:10 10.7109']\n";
    QCOMPARE(QString::fromUtf8(checker.readAll()).split('\n'), (header + expected).split('\n'));
}

QTEST_GUILESS_MAIN(TestWorkbookWriter)
#include "tst_workbookwriter.moc"
