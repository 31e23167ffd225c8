// A port the account may not open for want of a group: the window and tiltlink-cli name the
// group and the command that adds the account to it; a busy port keeps the old words.
#include "windowfixture.h"

#include <QProcess>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

static QString deniedPort; // root:dialout 0660, as udev leaves a USB adapter; empty: no root

class TestPortPermission : public QObject, public WindowFixture {
    Q_OBJECT

private slots:
    void init()
    {
        if (deniedPort.isEmpty())
            QSKIP("needs root, to give a terminal to the group dialout and go on as nobody");
        openWindow();
    }
    void cleanup() { closeWindow(); }

    void saysWhy_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("cli"); // standard error; the exit code is 3
        QTest::newRow("group")
            << false
            << "没有权限打开串口 PORT。\n请把账户加入设备所属的用户组 dialout，\n"
               "然后注销并重新登录：\nsudo usermod -aG dialout nobody"
            << "No permission to open the port PORT.\nAdd your account to the group dialout,\n"
               "which owns the device, then log out\nand log in again:\n"
               "sudo usermod -aG dialout nobody\n";
        QTest::newRow("busy") << true << "请选择正确的串口或串口被占用!"
                              << "cannot open PORT: Device or resource busy\n";
    }
    void saysWhy()
    {
        QFETCH(bool, busy);
        QFETCH(QString, box);
        QFETCH(QString, cli);
        // Held with TIOCEXCL, the account's own terminal is busy: another open gets EBUSY.
        const QString port = busy ? pty->slaveName() : deniedPort;
        const int holder = busy ? ::open(qPrintable(port), O_RDWR | O_NOCTTY) : -1;
        QVERIFY(!busy || ::ioctl(holder, TIOCEXCL) == 0);
        click("scanPortButton"); // lists the port refused for want of a group too
        QVERIFY(widget<QComboBox>("portComboBox")->findText(deniedPort) >= 0);
        DialogRecorder boxes(QMessageBox::Yes);
        widget<QComboBox>("portComboBox")->setCurrentText(port);
        click("openPortButton");
        QProcess tool;
        tool.start(CLI, { "info", "--port", port });
        QVERIFY(tool.waitForFinished(60000));
        ::close(holder);
        QCOMPARE(QStringList({ boxes.boxes.join('\n'), tool.readAllStandardError(),
                     QString::number(tool.exitCode()) }),
            QStringList({ "串口打开失败|" + box.replace("PORT", port) + "|2|4000|0",
                cli.replace("PORT", port), "3" }));
    }
};

// Root opens every node: the terminal goes to dialout and the test on as nobody, before Qt starts.
int main(int argc, char *argv[])
{
    PseudoTerminal denied;
    const QByteArray node = denied.slaveName().toLocal8Bit();
    const group *dialout = ::getgrnam("dialout");
    const passwd *nobody = ::getpwnam("nobody");
    if (::geteuid() == 0 && denied.isValid() && dialout && nobody
        && ::chown(node, 0, dialout->gr_gid) == 0 && ::chmod(node, 0660) == 0
        && ::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0
        && ::setuid(nobody->pw_uid) == 0)
        deniedPort = denied.slaveName();
    qputenv("TILTLINK_EXTRA_PORTS", deniedPort.toLocal8Bit());
    QApplication app(argc, argv);
    TestPortPermission test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_portpermission.moc"
