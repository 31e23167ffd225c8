// A port the account may not open for want of a group: the window and tiltlink-cli name the
// group and the command that adds the account to it; a busy port keeps the window's old words.
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

    void windowSaysWhy_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("text");
        QTest::newRow("group")
            << false
            << "没有权限打开串口 PORT。\n请把账户加入设备所属的用户组 "
               "dialout，\n然后注销并重新登录：\nsudo usermod -aG dialout nobody";
        QTest::newRow("busy") << true << "请选择正确的串口或串口被占用!";
    }
    void windowSaysWhy()
    {
        QFETCH(bool, busy);
        QFETCH(QString, text);
        // Held with TIOCEXCL, the account's own terminal is busy: a second open gets EBUSY.
        const QString port = busy ? pty->slaveName() : deniedPort;
        const int holder = busy ? ::open(qPrintable(port), O_RDWR | O_NOCTTY) : -1;
        QVERIFY(!busy || ::ioctl(holder, TIOCEXCL) == 0);
        click("scanPortButton"); // lists the port refused for want of a group too
        QVERIFY(widget<QComboBox>("portComboBox")->findText(deniedPort) >= 0);
        DialogRecorder boxes(QMessageBox::Yes);
        widget<QComboBox>("portComboBox")->setCurrentText(port);
        click("openPortButton");
        ::close(holder);
        QCOMPARE(boxes.boxes, { "串口打开失败|" + text.replace("PORT", port) + "|2|4000|0" });
    }

    void cliSaysWhy()
    {
        QProcess cli;
        cli.start(CLI, { "info", "--port", deniedPort });
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(QString(cli.readAllStandardError()),
            "No permission to open the port " + deniedPort
                + ".\nAdd your account to the group dialout,\nwhich owns the device, then log "
                  "out\nand log in again:\nsudo usermod -aG dialout nobody\n");
        QCOMPARE(cli.exitCode(), 3);
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
