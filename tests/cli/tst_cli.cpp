// tiltlink-cli as its users run it, against the simulated sensor: what it prints, its exit code,
// what reached the sensor, and the files it writes. PTY stands for the sensor's port, DIR for a
// scratch folder.
#include "firmware/firmwarefile.h"
#include "records/csvwriter.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// "arguments | stored records, records per page, dropped page, boot loader version (- for the
// default), pause between 4-byte chunks of a reply, a set code acknowledged but not applied |
// exit code | stdout (a date and time reads DT) | requests the sensor got: code and data in hex,
// the size of a firmware image it took, then the module's lines".
// DIR/fw.ovx holds TL#S1#V1.0.3; DIR/t.ini is a template of both groups.
const QStringList cases = {
    "info --port PTY|0 1 0|0|address: 00000001\ndatetime: DT\nzero-mode: absolute\n"
    "sleep-minutes: 0\n|1f,66,0d,57",
    "info --json --address 00000001 --port PTY|0 1 0|0|{\"address\":\"00000001\",\"datetime\":"
    "\"DT\",\"port\":\"PTY\",\"sleep-minutes\":\"0\",\"zero-mode\":\"absolute\"}\n|66,0d,57",
    "info --address 00000002 --port PTY|0 1 0|1||66",
    "info --port PTY --port /dev/none|0 1 0|3|PTY: address: 00000001\nPTY: datetime: DT\n"
    "PTY: zero-mode: absolute\nPTY: sleep-minutes: 0\n|1f,66,0d,57",
    "readback --port PTY --range 2-4 --out DIR/r.csv|25 2 0|0|3 records written to DIR/r.csv\n|"
    "1f,610000020004,611000020004",
    "readback --port PTY --range 2-4 --retries 0 --address 00000001 --out DIR/s.csv|25 5 0 - 100|0|"
    "3 records written to DIR/s.csv\n|610000020004", // a page slower than the time-out, in chunks
    "readback --port PTY --desc --retries 0 --out DIR/r.xlsx|25 10 2|1|"
    "10 records written to DIR/r.xlsx\n|1f,6d00,6d10",
    "readback --port PTY --range 0-5 --out DIR/r.csv|25 10 0|2||",
    "readback --port PTY --range 5-60001 --out DIR/r.csv|25 10 0|2||",
    "readback --port PTY --desc --range 1-5 --out DIR/r.csv|25 10 0|2||",
    "readback --port PTY --out DIR/r.txt|25 10 0|2||",
    "erase --port PTY|25 10 0|2||",
    "erase --yes --address 00000001 --port PTY|25 10 0|0|erased\n|630000000000",
    "erase --yes --json --port PTY --port /dev/none|25 10 0|3|{\"erased\":true,\"port\":\"PTY\"}\n"
    "|1f,630000000000",
    "info --port PTY --address 1234|0 1 0|2||",
    "info --port PTY --colour|0 1 0|2||",
    "info --port /dev/none|0 1 0|3||",
    "upgrade DIR/fw.ovx --port PTY|0 1 0|0|upgraded to TL#S1#V1.0.3\n|1f,30,30,image 2048",
    "upgrade DIR/fw.ovx --check-version --address 00000001 --port PTY|0 1 0 TL#S1#V1.1.0|1||30,30",
    "upgrade DIR/fw.ovx --check-version --yes --address 00000001 --port PTY|0 1 0 TL#S1#V1.1.0|0|"
    "upgraded to TL#S1#V1.0.3\n|30,30,image 2048",
    "upgrade DIR/fw.ovx --check-version --yes --address 00000001 --port PTY|0 1 0 TL#S2#V1.0.0|1||"
    "30,30",
    "upgrade DIR/r.csv --port PTY|0 1 0|2||",
    "set --port PTY sleep=30 interval=5 hold=10 --save|0 1 0|0|sleep: 30\ninterval,hold: 5,10\n"
    "saved\n|1f,560030,0c00050010,0a",
    "set --address 00000001 --port PTY address=0000002a zero=relative|0 1 0|0|address: 0000002a\n"
    "zero: relative\n|0f0000002a,0501", // the second request goes to the new address
    "set --port PTY interval=5|0 1 0|2||",
    "set --port PTY sleep=12345|0 1 0|2||",
    "set --port PTY colour=red|0 1 0|2||",
    "module set --port PTY band=EU868 channel1=0,7 channel2=8-15 --save|0 1 0|0|band: EU868\n"
    "channel1: 0,7\nchannel2: 8-15\nsaved\n|1f,ATE1,AT+BAND=3,ATE0,ATE1,AT+CHANNEL=0,7,"
    "AT+CHANNEL=8-15,ATE0,ATE1,AT+SAVE,AT+RESET,ATE0",
    "module get heartbeat deveui --port PTY|0 1 0|0|heartbeat: on\ndeveui: 0200000000000001\n|"
    "1f,ATE1,AT+HEART?,ATE0,ATE1,AT+DEVEUI?,ATE0",
    "module set --port PTY appkey=00|0 1 0|2||",
    "module-ids --port PTY --append DIR/ids.csv|0 1 0|0|id;dev_eui;join_eui;app_key\n"
    "tilt-0200000000000001;0200000000000001;0100000000000001;5A81A8CEF61D446A92B9E0062E557CA2\n|"
    "1f,ATE1,AT+DEVEUI?,ATE0,ATE1,AT+APPEUI?,ATE0,ATE1,AT+APPKEY?,ATE0",
    "apply DIR/t.ini --port PTY --save|0 1 0|0|key        wanted           read\n"
    "zero       relative         relative         ok\n"
    "sleep      60               60               ok\n"
    "band       EU868            EU868            ok\n"
    "heartbeat  on               on               ok\n"
    "channel1   0-7              0-7              ok\n"
    "channel2   8-15             8-15             ok\n"
    "|1f,6901,0501,0c00050010,560060,6b0150,530a,420100,6a01,0a,0d,57,ATE1,AT+BAND=3,AT+HEART=1,"
    "AT+CHANNEL=0-7,AT+CHANNEL=8-15,AT+SAVE,AT+RESET,ATE0,ATE1,AT+BAND?,ATE0,ATE1,AT+HEART?,ATE0,"
    "ATE1,AT+CHANNEL?,ATE0",
    "apply DIR/t.ini --sensor --address 00000001 --port PTY|0 1 0 - 0 05|1|"
    "key        wanted           read\nzero       relative         absolute         MISMATCH\n"
    "sleep      60               60               ok\n"
    "|6901,0501,0c00050010,560060,6b0150,530a,420100,6a01,0d,57",
    "apply DIR/none.ini --port PTY|0 1 0|2||",
    "apply DIR/bad.ini --port PTY|0 1 0|2||",
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString requests(const SimulatedSensor &sensor, bool lines = false) const
    {
        QStringList sent;
        for (const QByteArray &frame : sensor.receivedFrames())
            sent << frame.mid(6, frame.size() - 7).toHex();
        if (!sensor.receivedImage().isEmpty())
            sent << QString("image %1").arg(sensor.receivedImage().size());
        for (const QByteArray &line : sensor.receivedLines())
            sent << (lines ? line.trimmed() : QByteArray());
        sent.removeAll(QString());
        return sent.join(',');
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QProcess::ExitStatus>();
        QFile firmware(dir.filePath("fw.ovx"));
        QVERIFY(firmware.open(QIODevice::WriteOnly));
        firmware.write(FirmwareFile::encode("TL#S1#V1.0.3", 4, 0x30, QByteArray(2048, 'i')));
        QFile bad(dir.filePath("bad.ini"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("[Sensor]\nMode=7\nSleep=@Variant(\\0\\0\\0\\x7f)\n");
        QFile ini(dir.filePath("t.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Sensor]\nMode=1\nZero=1\nInterval=5\nKeep=10\nSleep=60\nAlarm=1.5\n"
                  "Duration=0.8\nThreshold=100\nInstal=1\n\n"
                  "[Module]\nBand=3\nHeart=1\nChannel1=0-7\nChannel2=8-15\n");
    }
    void runs_data()
    {
        QTest::addColumn<QString>("row");
        for (const QString &row : cases)
            QTest::addRow("%s", qPrintable(row.section('|', 0, 0))) << row;
    }
    void runs()
    {
        QFETCH(QString, row);
        const QStringList numbers = row.section('|', 1, 1).split(' ');
        SimulatedSensor sensor;
        sensor.setStoredRecords(numbers.at(0).toInt());
        sensor.setPageSize(numbers.at(1).toInt());
        sensor.setEraseDelayMs(100);
        SensorFaults faults;
        faults.droppedPages = { numbers.at(2).toInt() };
        faults.splitSize = numbers.size() > 4 ? 4 : 0;
        faults.splitGapMs = numbers.value(4).toInt();
        if (numbers.size() > 5)
            faults.ignoredSets = { quint8(numbers.at(5).toUInt(nullptr, 16)) };
        sensor.setFaults(faults);
        if (numbers.value(3, "-") != "-")
            sensor.setLoaderVersion(numbers.at(3));
        PtyDevice device(&sensor);
        QVERIFY(device.open());
        const QString port = device.slaveName();

        QProcess cli;
        QSignalSpy finished(&cli, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
        cli.start(
            CLI, row.section('|', 0, 0).replace("PTY", port).replace("DIR", dir.path()).split(' '));
        // The event loop must run meanwhile: the sensor answers from it.
        QVERIFY(finished.wait(60000));
        QString out = QString::fromUtf8(cli.readAllStandardOutput());
        out.replace(port, "PTY").replace(dir.path(), "DIR");
        out.replace(QRegularExpression("20\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"), "DT");
        QCOMPARE(cli.exitCode(), row.section('|', 2, 2).toInt());
        QCOMPARE(out, row.section('|', 3, 3));
        QCOMPARE(requests(sensor, true), row.section('|', 4, 4));
        QVERIFY(!cli.readAllStandardError().isEmpty() || cli.exitCode() == 0);
    }

    // A read that ends early: Ctrl-C tells the sensor to stop, a port that goes away cannot; both
    // write what was read. Pages come slowly so that the end lands mid-read, but whenever it
    // lands the outcome is the same.
    void endedRead_data()
    {
        QTest::addColumn<bool>("unplug");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("lastRequest");
        QTest::addRow("Ctrl-C") << false << 1 << "6210";
        QTest::addRow("port lost") << true << 3 << "6110";
    }
    void endedRead()
    {
        QFETCH(bool, unplug);
        QFETCH(QString, lastRequest);
        SimulatedSensor sensor;
        sensor.setStoredRecords(40);
        sensor.setPageSize(2);
        SensorFaults faults;
        faults.delayMs = 200;
        sensor.setFaults(faults);
        PtyDevice device(&sensor);
        QVERIFY(device.open());
        QProcess cli;
        QSignalSpy finished(&cli, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
        bool ended = false; // once: a second Ctrl-C ends the program outright
        connect(&sensor, &SimulatedSensor::frameReceived, this, [&](const QByteArray &frame) {
            if (frame.at(6) != 0x61 || frame.at(7) != 0x10 || std::exchange(ended, true))
                return;
            if (unplug)
                QMetaObject::invokeMethod(&device, "unplug", Qt::QueuedConnection);
            else
                ::kill(cli.processId(), SIGINT);
        });
        cli.start(
            CLI, { "readback", "--port", device.slaveName(), "--out", dir.filePath("i.csv") });
        QVERIFY(finished.wait(60000));
        QTEST(cli.exitCode(), "exitCode");
        QTRY_VERIFY(requests(sensor).section(',', -1).startsWith(lastRequest));
        QFile file(dir.filePath("i.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const int records = file.readAll().count('\n') - 1;
        QVERIFY(records > 0 && records < 40);
        QCOMPARE(cli.readAllStandardOutput(),
            QString("%1 records written to %2\n").arg(records).arg(file.fileName()).toUtf8());
    }

    // Live readings as CSV lines with an ISO 8601 local time, one per answered poll.
    void live()
    {
        SimulatedSensor sensor;
        PtyDevice device(&sensor);
        QVERIFY(device.open());
        QProcess cli;
        QSignalSpy finished(&cli, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
        cli.start(CLI, { "live", "--port", device.slaveName(), "--count", "3", "--rate", "5" });
        QVERIFY(finished.wait(60000));
        QCOMPARE(cli.exitCode(), 0);
        const QStringList lines = QString(cli.readAllStandardOutput()).split('\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0), QString("time,x,y,z,temp,power"));
        const QRegularExpression sample(
            "^20\\d\\d-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}"
            "(Z|[+-]\\d\\d:\\d\\d)(,-?\\d+\\.\\d{4}){3},-?\\d+\\.\\d\\d,\\d+$");
        for (int i = 1; i <= 3; ++i)
            QVERIFY2(sample.match(lines.at(i)).hasMatch(), qPrintable(lines.at(i)));
        QVERIFY(requests(sensor).startsWith("1f,03,03,03"));
    }

    // The CSV as spreadsheets take it: BOM, the table's English headers, one line per record.
    void csvFile()
    {
        QFile file(dir.filePath("r.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 5); // header, three records, nothing after the last CR LF
        QCOMPARE(lines.at(0),
            QByteArray("\xEF\xBB\xBF"
                       "Date,Time,X(\xC2\xB0),Y(\xC2\xB0),Z(\xC2\xB0),X(g),Y(g),Z(g),"
                       "Temp(\xE2\x84\x83),Power\r"));
        QCOMPARE(lines.at(1).left(20), QByteArray("2026-01-01,00:02:00,"));
        QCOMPARE(lines.at(3).left(20), QByteArray("2026-01-01,00:04:00,"));
        QFile ids(dir.filePath("ids.csv"));
        QVERIFY(ids.open(QIODevice::ReadOnly));
        QCOMPARE(ids.readAll(),
            QByteArray("id;dev_eui;join_eui;app_key\ntilt-0200000000000001;0200000000000001;"
                       "0100000000000001;5A81A8CEF61D446A92B9E0062E557CA2\n"));
        QCOMPARE(CsvWriter::line({ "a,b", "say \"hi\"", "c" }),
            QByteArray("\"a,b\",\"say \"\"hi\"\"\",c\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
