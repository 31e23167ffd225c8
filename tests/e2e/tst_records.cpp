// Reading the stored records into the table against the simulated sensor, end to end: the
// requests on the line for each way of reading, pausing and stopping, the table afterwards
// (every record exactly once, in order), the buttons, the erase, and the export.
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "sim/storedrecords.h"
#include "windowfixture.h"

#include <QDesktopServices>
#include <QProcess>
#include <QTableView>

namespace {

const QString all = "0001ea60", done = "成功|数据读取完成!|1|400|400",
              ask
    = "提示|删除操作将删除传感器保存的数据，请谨慎操作！<br>删除过程用时大约6S，请耐心等待！|2|"
      "14000|10000";
// "records per-page delay-ms bad-page dropped-page lost-request | steps | requests: code,
// sub-code, range (@ all) | records in the table, first-last | message boxes". Steps: click, fill,
// answer (the boxes), wait ms, unplug, plug (back, on the same link), or wait until: rows N, status
// TEXT, text WIDGET=TEXT, sent REQUESTS, polled N (live polls since the plug; 0: none came).
const QStringList reads = {
    "25 10 0 0 0 0|click pushButtonRead|6100@,6110@,6110@|1-25|" + done,
    "8 255 0 0 0 0|click radioButtonPoint;fill lineEditBegin=5;fill lineEditEnd=70000;click "
    "pushButtonRead|61000005ea60|5-8|"
        + done,
    "8 255 0 0 0 0|click radioButtonPoint;fill lineEditBegin=9;fill lineEditEnd=3;click "
    "pushButtonRead;wait 300|||错误|开始地址和结束地址设置错误!|3|4000|0",
    "7 3 0 0 0 0|click radioButtonTimeDown;click pushButtonRead|6d00,6d10,6d10|7-1|" + done,
    "0 255 0 0 0 0|click pushButtonRead;status 已读取数据0组|6100@||" + done,
    "7 3 0 2 0 0|click pushButtonRead|6100@,6110@,6111@,6110@|1-7|" + done,
    "7 3 0 2 0 0|click radioButtonTimeDown;click pushButtonRead|6d00,6d10,6d11,6d10|7-1|" + done,
    "7 3 300 0 0 0|click pushButtonRead;click pushButtonRead;text pushButtonRead=继续;rows 3;wait "
    "400;click pushButtonRead|6100@,6110@,6110@|1-7|"
        + done, // a page lands during the pause
    "3 3 300 0 0 0|click pushButtonRead;click pushButtonRead|6100@|1-3|" + done,
    "7 3 0 0 2 0|click pushButtonRead;text pushButtonRead=继续;status 信息接收超时!;click "
    "pushButtonRead|6100@,6110@,6111@,6110@|1-7|"
        + done, // page 2 lost, asked for again
    "7 3 0 0 0 1|click pushButtonRead;text pushButtonRead=继续;click pushButtonRead|"
    "6100@,6100@,6110@,6110@|1-7|"
        + done, // nothing came: the read begins again
    "7 3 0 0 0 2|click pushButtonRead;text pushButtonRead=继续;click pushButtonRead|"
    "6100@,6110@,6111@,6110@,6110@|1-7|"
        + done, // request lost: page 1 again, kept once
    "7 3 300 0 0 0|click pushButtonRead;click pushButtonRead;rows 3;click pushButtonStop;sent "
    "6100@,6210@|6100@,6210@|1-3|", // stopped while paused
    "7 3 300 0 0 0|click pushButtonRead;click pushButtonStop;sent 6100@,6210@|6100@,6210@|1-3|",
    "7 3 0 0 2 0|click pushButtonRead;rows 3;click pushButtonStop;sent 6100@,6110@,6210@|"
    "6100@,6110@,6210@|1-3|",
    "25 10 0 0 0 0|click pushButtonRead;rows 25;click pushButtonClear;status 清空表格|"
    "6100@,6110@,6110@||"
        + done,
    "7 3 0 0 0 0|answer No;click pushButtonDelete;wait 300|||" + ask,
    "7 3 0 0 0 0|answer Yes;click pushButtonRead;rows 7;click pushButtonDelete|6100@,6110@,6110@,"
    "6310@|1-7|"
        + done + ';' + ask + ";成功|数据擦除成功!|1|400|400",
    // Unplugged and plugged back: a read is left paused, live measurement goes on by itself.
    "7 3 300 0 0 0|click pushButtonRead;rows 3;sent 6100@,6110@;unplug;status "
    "串口已断开：设备已移除;plug;status 串口已重新连接;text lineEditAddr=00000001;"
    "text pushButtonRead=继续;click pushButtonRead|"
    "6100@,6110@,6111@,6110@|1-7|"
        + done,
    "0 3 0 0 0 0|click pushButtonStart;unplug;status 串口已断开：设备已移除;plug;status "
    "串口已重新连接;polled 3;click pushButtonStart|||",
    "0 3 0 0 0 0|fill autoReconnectCheckBox=0;click pushButtonStart;unplug;status "
    "串口已断开：设备已移除;plug;wait 2000;polled 0;text openPortButton=打开;fill "
    "autoReconnectCheckBox=1|||",
};

// Date and time of the records first to last, either way round.
QStringList recordTimes(const QString &span)
{
    QStringList times;
    const int first = span.section('-', 0, 0).toInt(), last = span.section('-', 1).toInt();
    for (int i = first; !span.isEmpty(); i += first < last ? 1 : -1) {
        times << StoredRecords::recordTime(i).toString("yyyy-MM-dd hh:mm:ss");
        if (i == last)
            break;
    }
    return times;
}

} // namespace

class TestRecords : public QObject, public WindowFixture {
    Q_OBJECT

    SimulatedSensor *sensor = nullptr;
    PtyDevice *device = nullptr;
    QTemporaryDir linkDir;
    int plugged = 0; // frames the sensor had when it was plugged back
    QUrl openedUrl;

    QAbstractItemModel *table() const { return widget<QTableView>("tableView")->model(); }
    QStringList tableTimes() const // of each row that shows a record
    {
        QStringList times;
        for (int row = 0; row < table()->rowCount(); ++row)
            if (!table()->index(row, 0).data().toString().isEmpty())
                times << table()->index(row, 0).data().toString() + ' '
                        + table()->index(row, 1).data().toString();
        return times;
    }
    QString requests() const
    {
        QStringList sent;
        for (const QByteArray &frame : sensor->receivedFrames())
            if (QByteArray("\x61\x62\x63\x6d").contains(frame.at(6)))
                sent << frame.mid(6, frame.size() - 7).toHex();
        return sent.join(',').replace(all, "@");
    }
    int polls() const // since the sensor was plugged back
    {
        const QList<QByteArray> frames = sensor->receivedFrames().mid(plugged);
        return int(std::count_if(
            frames.begin(), frames.end(), [](const QByteArray &f) { return f.at(6) == 0x03; }));
    }

public slots:
    void open(const QUrl &url) { openedUrl = url; }

private slots:
    void init()
    {
        openWindow();
        openedUrl.clear();
        sensor = new SimulatedSensor;
        sensor->setEraseDelayMs(100);
        device = new PtyDevice(sensor);
        QVERIFY(device->open(linkDir.filePath("sensor")));
        openPort("00000001", device->linkPath());
        sensor->clearCounters();
    }
    void cleanup()
    {
        closeWindow();
        delete device;
        delete sensor;
    }

    void readsAndErases_data()
    {
        QTest::addColumn<QString>("row");
        for (const QString &row : reads)
            QTest::addRow("%d %s", int(reads.indexOf(row)), qPrintable(row.section('|', 0, 1)))
                << row;
    }
    void readsAndErases()
    {
        QFETCH(QString, row);
        const QStringList numbers = row.section('|', 0, 0).split(' ');
        sensor->setStoredRecords(numbers.at(0).toInt());
        sensor->setPageSize(numbers.at(1).toInt());
        SensorFaults faults;
        faults.delayMs = numbers.at(2).toInt();
        faults.badPages = { numbers.at(3).toInt() };
        faults.droppedPages = { numbers.at(4).toInt() };
        faults.lostReads = { numbers.at(5).toInt() };
        sensor->setFaults(faults);
        DialogRecorder recorder;
        for (const QString &step : row.section('|', 1, 1).split(';')) {
            const QString what = step.section(' ', 0, 0), arg = step.section(' ', 1);
            if (what == "click")
                click(arg);
            else if (what == "answer")
                recorder.answer = arg == "Yes" ? QMessageBox::Yes : QMessageBox::No;
            else if (what == "fill")
                fill({ arg });
            else if (what == "wait")
                QTest::qWait(arg.toInt());
            else if (what == "unplug")
                sensor->unplug(); // its replies not yet sent go with it
            else if (what == "plug") {
                QVERIFY(device->plugBack());
                plugged = sensor->receivedFrames().size();
            } else if (what == "polled" && arg == "0")
                QCOMPARE(polls(), 0);
            else if (what == "polled")
                QTRY_VERIFY_WITH_TIMEOUT(polls() >= arg.toInt(), 10000);
            else if (what == "rows")
                QTRY_COMPARE_WITH_TIMEOUT(tableTimes().size(), arg.toInt(), 10000);
            else if (what == "sent")
                QTRY_COMPARE_WITH_TIMEOUT(requests(), arg, 10000);
            else if (what == "status")
                QTRY_COMPARE_WITH_TIMEOUT(status(), arg, 10000);
            else
                QTRY_COMPARE_WITH_TIMEOUT(text(arg.section('=', 0, 0)), arg.section('=', 1), 10000);
        }
        QTRY_COMPARE_WITH_TIMEOUT(recorder.boxes.join(';'), row.section('|', 4), 10000);
        QCOMPARE(tableTimes(), recordTimes(row.section('|', 3, 3)));
        QCOMPARE(requests(), row.section('|', 2, 2));
        // Idle again: live measurement and the firmware download are free, no read is waiting.
        QCOMPARE(text("pushButtonRead"), QString("读取"));
        QCOMPARE(enabled({ "pushButtonStart", "iapDownLoadButton", "pushButtonClear" }).size(), 3);
        QCOMPARE(table()->rowCount(), qMax(18, int(tableTimes().size())));
    }

    // The table goes to the workbook named in the file dialog, a name without a suffix getting
    // ".xlsx", or to a CSV file, and the desktop opens it on Yes. A file that cannot be written
    // is reported. Python's csv module reads the CSV back as the table shows it.
    void exportTheTable()
    {
        sensor->setStoredRecords(25);
        DialogRecorder recorder(QMessageBox::Yes);
        click("pushButtonRead");
        QTRY_COMPARE(tableTimes().size(), 25);
        QTemporaryDir dir;
        QString path; // what the file dialog is answered with
        FileDialogAnswer answer(&path);
        QDesktopServices::setUrlHandler("file", this, "open");
        for (const QString row : { "records|完成|文件已经导出，是否现在打开?|4|14000|0",
                 "missing/records.xlsx|错误|文件导出失败，无法写入：DIR/missing/"
                 "records.xlsx|3|4000|0",
                 "records.csv|完成|文件已经导出，是否现在打开?|4|14000|0",
                 "missing/records.csv|错误|文件导出失败，无法写入：DIR/missing/records.csv|3|"
                 "4000|0" }) {
            path = dir.filePath(row.section('|', 0, 0));
            click("pushButtonExcel");
            QCOMPARE(recorder.boxes.takeLast().replace(dir.path(), "DIR"), row.section('|', 1));
        }
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(openedUrl, QUrl::fromLocalFile(dir.filePath("records.csv")));
        QVERIFY(QFileInfo(dir.filePath("records.xlsx")).size() > 0);
        QProcess python; // the BOM, CR LF line ends and no quotes, then the fields as read
        python.start(PYTHON,
            { "-c",
                "import "
                "csv,sys\nsys.stdout.reconfigure(encoding='utf-8')\nraw=open(sys.argv[1],'rb')."
                "read()\n"
                "print(raw[:3].hex(),raw.count(b'\\r\\n'),raw.count(b'\"'))\nfor r in csv.reader("
                "open(sys.argv[1],encoding='utf-8-sig',newline='')):print('|'.join(r))",
                dir.filePath("records.csv") });
        QVERIFY(python.waitForFinished(60000));
        QStringList lines = { "efbbbf 26 0" };
        for (int row = -1; row < 25; ++row) {
            QStringList cells;
            for (int column = 0; column < 10; ++column)
                cells << (row < 0 ? table()->headerData(column, Qt::Horizontal)
                                  : table()->index(row, column).data())
                             .toString();
            lines << cells.join('|');
        }
        QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()), lines.join('\n') + '\n');
    }

    // A page cut off half-way, then silence: the read pauses as if the page had been lost.
    void pageCutOff()
    {
        click("openPortButton"); // the test's own terminal plays the sensor
        openPort();
        click("pushButtonRead");
        QCOMPARE(pty->readAtLeast(13).toHex(), QByteArray("770c0000000161000001ea60b9"));
        pty->write(QByteArray::fromHex("7702800000006100") + QByteArray(40, '\0'));
        QTRY_COMPARE_WITH_TIMEOUT(text("pushButtonRead"), QString("继续"), 10000);
        QCOMPARE(status(), QString("信息接收超时!"));
    }
};

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
