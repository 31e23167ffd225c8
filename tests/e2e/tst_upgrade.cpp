// Firmware upgrades through the window against the simulated boot loader, end to end: the image
// that arrives, the log, the version check and its boxes, repeats, cancel, and the port closed
// half-way. The test makes its own firmware files.
#include "firmware/firmwarefile.h"
#include "protocol/checksum.h"
#include "sim/ptydevice.h"
#include "sim/simulatedsensor.h"
#include "windowfixture.h"

#include <QTextBrowser>

namespace {

const QString newer = "提示|设备固件版本号比升级包固件版本号高，是否继续升级？|2|14000|10000";

// The file's version is TL#S1#V1.0.3; the sensor's loader reports `loader`.
struct Upgrade {
    int size; // image bytes
    const char *loader;
    bool check; // 版本号自行比较
    QMessageBox::StandardButton answer;
    QStringList boxes;
    QStringList log; // lines that must appear, in this order
    bool arrives; // the sensor holds the image afterwards
    void (*fault)(SensorFaults &) = nullptr;
};
const Upgrade upgrades[] = {
    { 2048, "TL#S1#V1.0.2", false, {}, {}, { "已发送50.00%", "已发送100.00%", "更新完成！" },
        true },
    { 2064, "TL#S1#V1.0.2", false, {}, {}, { "已发送33.33%", "已发送66.67%", "已发送100.00%" },
        true },
    { 2064, "TL#S1#V1.0.2", false, {}, {},
        { "已发送66.67%", "数据效验错误，重新发送!", "已发送100.00%" }, true,
        [](SensorFaults &f) { f.checksumErrorPackets = { 1 }; } },
    { 2048, "TL#S1#V1.0.2", false, {}, {}, { "已发送50.00%", "等待超时，重发!", "已发送100.00%" },
        true, [](SensorFaults &f) { f.lostAcks = { 1 }; } },
    { 2048, "TL#S1#V1.0.2", true, {}, {}, { "更新完成！" }, true },
    { 2048, "TL#S2#V1.0.2", true, {},
        { "提示|升级包版本型号和设备版本型号不匹配，升级失败!|3|400|400" }, {}, false },
    { 2048, "TL#S1#V1.x.2", true, {}, { "提示|固件版本号格式错误，升级失败!|3|400|400" }, {},
        false },
    { 2048, "TL#S1#V1.1.0", true, QMessageBox::No, { newer }, {}, false },
    { 2048, "TL#S1#V1.1.0", true, QMessageBox::Yes, { newer }, { "更新完成！" }, true },
    { 2048, "TL#S1#V1.1.0", false, {}, {}, { "更新完成！" }, true },
};

QByteArray imageOf(int size)
{
    return QByteArray("An image whose bytes differ from block to block. ")
        .repeated(size / 49 + 1)
        .left(size);
}

} // namespace

class TestUpgrade : public QObject, public WindowFixture {
    Q_OBJECT

    SimulatedSensor *sensor = nullptr;
    PtyDevice *device = nullptr;
    QTemporaryDir dir;
    QTemporaryDir linkDir;

    QString log() const { return widget<QTextBrowser>("tb_IAPMsg")->toPlainText(); }
    // Makes a firmware file and loads it through the file dialog.
    void load(const QByteArray &image)
    {
        const QString path = dir.filePath("fw.ovx");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly)
            && file.write(FirmwareFile::encode("TL#S1#V1.0.3", 4, 0x30, image)) > 0);
        file.close();
        FileDialogAnswer answer(&path);
        click("iapLoadFileButton");
        QCOMPARE(
            log(), "固件大小：" + QString::number(image.size()) + "\n固件版本号：TL#S1#V1.0.3");
        QCOMPARE(text("b_FirmwareAddr"), QString("00000001"));
    }
    bool idle() const
    {
        return text("iapDownLoadButton") == "下载"
            && enabled({ "pushButtonRead", "pushButtonDelete", "pushButtonStart" }).size() == 3;
    }

private slots:
    void init()
    {
        openWindow();
        sensor = new SimulatedSensor;
        sensor->setBootDelayMs(200);
        device = new PtyDevice(sensor);
        QVERIFY(device->open(linkDir.filePath("sensor")));
        openPort("", device->linkPath());
    }
    void cleanup()
    {
        closeWindow();
        delete device;
        delete sensor;
    }

    void upgrade_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(upgrades)); ++i)
            QTest::addRow("%d: %d bytes, loader %s", i, upgrades[i].size, upgrades[i].loader) << i;
    }
    void upgrade()
    {
        QFETCH(int, row);
        const Upgrade &u = upgrades[row];
        const QByteArray image = imageOf(u.size);
        load(image);
        sensor->setLoaderVersion(u.loader);
        SensorFaults faults;
        if (u.fault)
            u.fault(faults);
        sensor->setFaults(faults);
        fill({ QString("VersioncheckBox=%1").arg(u.check) });
        DialogRecorder recorder(u.answer);
        click("iapDownLoadButton");
        QCOMPARE(text("iapDownLoadButton"), QString("取消"));
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
        QTRY_COMPARE(recorder.boxes, u.boxes);
        QTRY_COMPARE(sensor->abortCount(), u.arrives ? 0 : 1);
        QCOMPARE(sensor->receivedImage(), u.arrives ? image : QByteArray());
        QString shown = log();
        for (const QString &line : u.log) { // in order
            QVERIFY2(shown.contains(line), qPrintable(line + " not after what came before"));
            shown = shown.mid(shown.indexOf(line) + line.size());
        }
    }

    // Cancelled while the image is announced: nothing more goes out.
    void cancelWhileAnnouncing()
    {
        load(imageOf(2048));
        sensor->setBootDelayMs(60000);
        click("iapDownLoadButton");
        QTRY_VERIFY(log().count("请求更新固件！") >= 4);
        click("iapDownLoadButton");
        QVERIFY(idle());
        SendLog sends(window);
        QTest::qWait(500);
        QCOMPARE(sends.sends.size(), 0);
    }

    // The port closed half-way, or the sensor unplugged and back, ends the upgrade (an unplug says
    // so); the next one starts from the beginning.
    void portClosedHalfWay_data()
    {
        QTest::addColumn<QString>("box"); // after an unplug
        QTest::newRow("closed") << "";
        QTest::newRow("unplugged")
            << "提示|设备已断开，固件更新已取消。设备重新连接后请重新下载。|2|4000|0";
    }
    void portClosedHalfWay()
    {
        QFETCH(QString, box);
        const QByteArray image = imageOf(64 * 1024);
        load(image);
        DialogRecorder recorder;
        click("iapDownLoadButton");
        QTRY_VERIFY_WITH_TIMEOUT(log().contains("已发送10.94%"), 20000);
        if (box.isEmpty()) {
            click("openPortButton");
            QVERIFY(idle());
            click("openPortButton");
        } else {
            sensor->unplug();
            QTRY_COMPARE_WITH_TIMEOUT(recorder.boxes.join(';'), box, 10000);
            QVERIFY(idle() && log().endsWith("设备已断开，固件更新已取消"));
            QVERIFY(device->plugBack());
            QTRY_COMPARE_WITH_TIMEOUT(status(), QString("串口已重新连接"), 10000);
        }
        click("iapDownLoadButton");
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 30000);
        QVERIFY(log().startsWith("固件大小：65536\n固件版本号：TL#S1#V1.0.3\n请求更新固件！"));
        QCOMPARE(sensor->receivedImage(), image);
    }

    // An acknowledgement of another packet is not taken for the current one.
    void foreignAcknowledgement()
    {
        click("openPortButton"); // the test's own terminal plays the loader
        openPort();
        load(imageOf(2048));
        click("iapDownLoadButton");
        QByteArray heard;
        const auto hears = [&](const char *hex) {
            heard += pty->readAvailable();
            return heard.contains(QByteArray::fromHex(hex));
        };
        const auto withCrc
            = [](QByteArray frame) { return frame + Checksum::crc32Bytes(frame, frame.size()); };
        QTRY_VERIFY(hears("7707000000013038")); // the update request
        pty->write(withCrc("\x5a\x81" + QByteArray("TL#S1#V1.0.2").leftJustified(50, 0)));
        QTRY_VERIFY(hears("5a020000"));
        pty->write(withCrc(QByteArray::fromHex("5a82000501")));
        QTest::qWait(300);
        QVERIFY(!hears("5a020001"));
        pty->write(withCrc(QByteArray::fromHex("5a82000001")));
        QTRY_VERIFY(hears("5a020001"));
    }
};

QTEST_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
