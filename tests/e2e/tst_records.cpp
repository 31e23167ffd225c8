// Reading the stored records into the table against the simulated sensor, end to end: the
// requests on the line for each way of reading, pausing and stopping, the table afterwards
// (every record exactly once, in order), the buttons, the erase, and the export.
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "sim/storedrecords.h"
#include "windowfixture.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QTableView>

namespace {

// "first-last" record indices, either way round; "" for none.
QStringList recordTimes(const QString &span)
{
    QStringList times;
    if (span.isEmpty())
        return times;
    const int first = span.section('-', 0, 0).toInt(), last = span.section('-', 1, 1).toInt();
    for (int i = first;; i += first < last ? 1 : -1) {
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
    QUrl openedUrl;
    PtyDevice *device = nullptr;

    QAbstractItemModel *table() const { return widget<QTableView>("tableView")->model(); }
    QStringList tableTimes() const // date and time of each row that shows a record
    {
        QStringList times;
        for (int row = 0; row < table()->rowCount(); ++row)
            if (!table()->index(row, 0).data().toString().isEmpty())
                times << table()->index(row, 0).data().toString() + ' '
                        + table()->index(row, 1).data().toString();
        return times;
    }
    QStringList requests() const // readback requests received: code, sub-code, range
    {
        QStringList sent;
        for (const QByteArray &frame : sensor->receivedFrames())
            if (QByteArray("\x61\x62\x63\x6d").contains(frame.at(6)))
                sent << frame.mid(6, frame.size() - 7).toHex();
        return sent;
    }

public slots:
    void open(const QUrl &url) { openedUrl = url; }

private slots:
    void init()
    {
        openWindow();
        openedUrl.clear();
        sensor = new SimulatedSensor;
        device = new PtyDevice(sensor);
        QVERIFY(device->open());
        openPort("00000001", device->slaveName());
        sensor->clearCounters();
    }
    void cleanup()
    {
        closeWindow();
        delete device;
        delete sensor;
    }

    void reads_data()
    {
        QTest::addColumn<QString>("setup"); // records, per page, delay ms, bad and dropped page
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("records"); // in the table, by index
        QTest::addColumn<QStringList>("boxes");
        const QString done = "成功|数据读取完成!|1|400|400";
        const QString all = "0001ea60", next = "6110" + all, again = "6111" + all;
        QTest::newRow("all, ascending") << "25 10 0 0 0" << QStringList{"click pushButtonRead"}
            << QStringList{"6100" + all, next, next} << "1-25" << QStringList{done};
        QTest::newRow("range 5 to 70000 sent as 5 to 60000")
            << "8 255 0 0 0"
            << QStringList{"click radioButtonPoint", "fill lineEditBegin=5", "fill lineEditEnd=70000",
                           "click pushButtonRead"}
            << QStringList{"61000005ea60"} << "5-8" << QStringList{done};
        QTest::newRow("begin above end refused") << "8 255 0 0 0"
            << QStringList{"click radioButtonPoint", "fill lineEditBegin=9", "fill lineEditEnd=3",
                           "click pushButtonRead", "wait 300"}
            << QStringList{} << "" << QStringList{"错误|开始地址和结束地址设置错误!|3|4000|0"};
        QTest::newRow("descending: pages from the newest, each reversed")
            << "7 3 0 0 0" << QStringList{"click radioButtonTimeDown", "click pushButtonRead"}
            << QStringList{"6d00", "6d10", "6d10"} << "7-1" << QStringList{done};
        QTest::newRow("empty memory: a last page of no records") << "0 255 0 0 0"
            << QStringList{"click pushButtonRead", "status 已读取数据0组"}
            << QStringList{"6100" + all} << "" << QStringList{done};
        QTest::newRow("bad page asked again") << "7 3 0 2 0" << QStringList{"click pushButtonRead"}
            << QStringList{"6100" + all, next, again, next} << "1-7" << QStringList{done};
        QTest::newRow("page landing during a pause, continued")
            << "7 3 300 0 0"
            << QStringList{"click pushButtonRead", "click pushButtonRead", "text pushButtonRead=继续",
                           "rows 3", "wait 400", "click pushButtonRead"}
            << QStringList{"6100" + all, next, next} << "1-7" << QStringList{done};
        QTest::newRow("lost page: time-out, continue asks again")
            << "7 3 0 0 2"
            << QStringList{"click pushButtonRead", "text pushButtonRead=继续", "status 信息接收超时!",
                           "click pushButtonRead"}
            << QStringList{"6100" + all, next, again, next} << "1-7" << QStringList{done};
        QTest::newRow("stop while paused") << "7 3 300 0 0"
            << QStringList{"click pushButtonRead", "click pushButtonRead", "rows 3",
                           "click pushButtonStop", "wait 400"}
            << QStringList{"6100" + all, "6210" + all} << "1-3" << QStringList{};
        QTest::newRow("stop while reading: goes out with the next request")
            << "7 3 300 0 0"
            << QStringList{"click pushButtonRead", "click pushButtonStop", "rows 3", "wait 400"}
            << QStringList{"6100" + all, "6210" + all} << "1-3" << QStringList{};
        QTest::newRow("clear") << "25 10 0 0 0"
            << QStringList{"click pushButtonRead", "rows 25", "click pushButtonClear",
                           "status 清空表格"}
            << QStringList{"6100" + all, next, next} << "" << QStringList{done};
        QTest::newRow("port closed") << "7 3 0 0 0"
            << QStringList{"click openPortButton", "click pushButtonRead", "wait 100"}
            << QStringList{} << "" << QStringList{"错误|请先打开串口!|3|4000|0"};
        const QString ask = "提示|删除操作将删除传感器保存的数据，请谨慎操作！<br>"
                            "删除过程用时大约6S，请耐心等待！|2|14000|10000";
        QTest::newRow("erase answered No sends nothing") << "7 3 0 0 0"
            << QStringList{"answer No", "click pushButtonDelete", "wait 300"}
            << QStringList{} << "" << QStringList{ask};
        QTest::newRow("erase with the sub-code and range of no read yet") << "7 3 0 0 0"
            << QStringList{"answer Yes", "click pushButtonDelete"}
            << QStringList{"630000000000"} << "" << QStringList{ask, "成功|数据擦除成功!|1|400|400"};
    }
    void reads()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, script);
        const QStringList numbers = setup.split(' ');
        sensor->setStoredRecords(numbers.at(0).toInt());
        sensor->setPageSize(numbers.at(1).toInt());
        SensorFaults faults;
        faults.delayMs = numbers.at(2).toInt();
        if (numbers.at(3) != "0")
            faults.badPages = {numbers.at(3).toInt()};
        if (numbers.at(4) != "0")
            faults.droppedPages = {numbers.at(4).toInt()};
        sensor->setFaults(faults);
        sensor->setEraseDelayMs(100);
        DialogRecorder recorder;
        for (const QString &step : script) {
            const QString what = step.section(' ', 0, 0), arg = step.section(' ', 1);
            if (what == "click")
                click(arg);
            else if (what == "answer")
                recorder.answer = arg == "Yes" ? QMessageBox::Yes : QMessageBox::No;
            else if (what == "fill")
                fill({arg});
            else if (what == "wait")
                QTest::qWait(arg.toInt());
            else if (what == "rows")
                QTRY_COMPARE_WITH_TIMEOUT(tableTimes().size(), arg.toInt(), 10000);
            else if (what == "status")
                QTRY_COMPARE_WITH_TIMEOUT(status(), arg, 10000);
            else if (what == "text")
                QTRY_COMPARE_WITH_TIMEOUT(text(arg.section('=', 0, 0)), arg.section('=', 1), 10000);
        }
        QFETCH(QStringList, boxes);
        QFETCH(QString, records);
        QFETCH(QStringList, sent);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.boxes, boxes, 10000);
        QCOMPARE(tableTimes(), recordTimes(records));
        QCOMPARE(requests(), sent);
        // Idle again: live measurement and the firmware download are free, no read is waiting.
        QCOMPARE(text("pushButtonRead"), QString("读取"));
        QCOMPARE(enabled({"pushButtonStart", "iapDownLoadButton", "pushButtonClear"}).size(), 3);
        QCOMPARE(table()->rowCount(), qMax(18, int(tableTimes().size())));
    }

    // The table goes to the workbook named in the file dialog; the desktop opens it on Yes.
    void exportTheTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("opened");
        QTest::newRow("written, opened") << "records" // the suffix is added
            << QStringList{"完成|文件已经导出，是否现在打开?|4|14000|0"} << "records.xlsx";
        QTest::newRow("folder missing")
            << "missing/records.xlsx"
            << QStringList{"错误|文件导出失败，无法写入：DIR/missing/records.xlsx|3|4000|0"} << "";
    }
    void exportTheTable()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, boxes);
        QFETCH(QString, opened);
        sensor->setStoredRecords(25);
        DialogRecorder recorder(QMessageBox::Yes);
        click("pushButtonRead");
        QTRY_COMPARE(tableTimes().size(), 25);
        QTemporaryDir dir;
        QTimer chooser; // types the name into the file dialog
        connect(&chooser, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                dialog->selectFile(dir.filePath(name));
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            }
        });
        chooser.start(10);
        QDesktopServices::setUrlHandler("file", this, "open");
        click("pushButtonExcel");
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(recorder.boxes.replaceInStrings(dir.path(), "DIR"),
                 QStringList{"成功|数据读取完成!|1|400|400"} + boxes);
        QCOMPARE(openedUrl, opened.isEmpty() ? QUrl() : QUrl::fromLocalFile(dir.filePath(opened)));
        QCOMPARE(QFile::exists(dir.filePath(opened.isEmpty() ? name : opened)), !opened.isEmpty());
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
