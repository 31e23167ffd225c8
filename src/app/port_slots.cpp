#include "app/mainwindow.h"

#include "protocol/protocol.h"
#include "protocol/timing.h"
#include "serial/portpermission.h"
#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QMessageBox>
#include <QSettings>
#include <QTimer>

namespace {

const QString autoReconnectKey = QStringLiteral("AutoReconnect");

QSettings settingsStore()
{
    return QSettings(QStringLiteral("IAP"), QStringLiteral("update"));
}

} // namespace

void MainWindow::on_openPortButton_clicked()
{
    if (busy.portOpen) {
        closePort(tr("串口已断开"));
        return;
    }
    // The user chose a port: the device lost before is no longer waited for.
    stopWatch();
    const int baud = ui->baudComboBox->currentText().toInt();
    const QString name = ui->portComboBox->currentText().trimmed();
    if (!serial->openPort(name, baud)) {
        showStatus(tr("串口打开失败"));
        const std::optional<PortPermission> lacking = PortPermission::lackingFor(name);
        QMessageBox::warning(nullptr, tr("串口打开失败"),
            lacking
                ? lacking->advice(tr("没有权限打开串口 %1。\n请把账户加入设备所属的用户组 %2，\n"
                                     "然后注销并重新登录：\nsudo usermod -aG %2 %3"))
                : tr("请选择正确的串口或串口被占用!"),
            QMessageBox::Yes);
        return;
    }
    busy.portOpen = true;
    showBusyState();
    showStatus(tr("串口已连接"));
}

void MainWindow::closePort(const QString &status)
{
    serial->closePort();
    // The address must be fetched again after the next open; a transfer starts over.
    ui->lineEditAddr->clear();
    sequenceTimer->stop();
    // Nothing more comes from this session: a reply begun is dropped, a wait for one ends, a
    // read is left paused (one that was stopping ends) for the user to continue later.
    ++portSession;
    replyGapTimer->stop();
    replyTimeoutTimer->stop();
    rxBuffer.clear();
    waitingReply = 0;
    readback.portLost();
    busy.portOpen = false;
    busy.live = false;
    upgrade.cancel();
    showBusyState();
    showStatus(status);
}

void MainWindow::onPortLost()
{
    if (!busy.portOpen)
        return;
    const bool live = busy.live;
    const bool upgrading = upgrade.running();
    closePort(tr("串口已断开：设备已移除"));
    if (ui->autoReconnectCheckBox->isChecked()) {
        portWatch.start(serial->openedPort(), serial->baud(), live);
        reconnectTimer->start(portWatch.nextPollMs());
    }
    if (upgrading) {
        // Half an image in the boot loader: whether to send it again is the user's choice.
        appendPlainLine(ui->tb_IAPMsg, tr("设备已断开，固件更新已取消"));
        QMessageBox::warning(nullptr, tr("提示"),
            tr("设备已断开，固件更新已取消。设备重新连接后请重新下载。"), QMessageBox::Yes);
    }
}

void MainWindow::setUpReconnect()
{
    reconnectTimer = new QTimer(this);
    reconnectTimer->setSingleShot(true);
    connect(reconnectTimer, &QTimer::timeout, this, &MainWindow::reconnectTick);
    const QSignalBlocker blocker(ui->autoReconnectCheckBox);
    ui->autoReconnectCheckBox->setChecked(settingsStore().value(autoReconnectKey, true).toBool());
}

void MainWindow::stopWatch()
{
    portWatch.stop();
    reconnectTimer->stop();
}

void MainWindow::on_autoReconnectCheckBox_toggled(bool on)
{
    settingsStore().setValue(autoReconnectKey, on);
    if (!on)
        stopWatch();
}

void MainWindow::reconnectTick()
{
    if (!portWatch.watching())
        return;
    const QString name = portWatch.candidate(serial->presentPorts(portWatch.lostPort().name));
    // A device just back may not open yet (its node without permissions): the next tick tries.
    // A group the account lacks is said, as that wait only ends when the user acts.
    if (name.isEmpty() || !serial->openPort(name, portWatch.baud())) {
        if (const auto lacking = name.isEmpty() ? std::nullopt : PortPermission::lackingFor(name))
            showStatus(tr("设备已接回，但没有权限打开 %1（用户组 %2）")
                           .arg(lacking->device, lacking->group));
        reconnectTimer->start(portWatch.nextPollMs());
        return;
    }
    stopWatch();
    busy.portOpen = true;
    if (name != ui->portComboBox->currentText())
        ui->portComboBox->setCurrentText(name);
    // The address field was emptied with the loss: the device says it again. A read left
    // paused waits for the user.
    serial->sendData(Protocol::buildAddressQuery());
    if (portWatch.wasLive()) {
        busy.live = true;
        sequenceMode = 0;
        sequenceTimer->start(Timing::livePollMs);
    }
    showBusyState();
    showStatus(tr("串口已重新连接"));
}

void MainWindow::showBusyState()
{
    const bool open = busy.portOpen;
    ui->portComboBox->setEnabled(!open);
    ui->baudComboBox->setEnabled(!open);
    ui->scanPortButton->setEnabled(!open);
    ui->label_ttl->setEnabled(open);
    ui->openPortButton->setText(open ? tr("关闭") : tr("打开"));
    ui->label_serial_open->setText(open ? tr("串口已连接") : tr("串口已断开"));
    QPalette palette = ui->label_serial_open->palette();
    palette.setColor(QPalette::WindowText, open ? Qt::blue : Qt::black);
    ui->label_serial_open->setPalette(palette);

    ui->pushButtonStart->setText(busy.live ? tr("停止") : tr("开始"));
    ui->pushButtonStart->setIcon(
        QIcon(busy.live ? QStringLiteral(":/stop.png") : QStringLiteral(":/start.png")));
    // A read holds live measurement and the firmware download until its stop has gone out.
    using State = RecordReadback::State;
    const State reading = readback.state();
    const bool upgrading = upgrade.running();
    ui->pushButtonStart->setEnabled(!upgrading && reading == State::Idle);
    ui->pushButtonRead->setEnabled(!busy.live && !upgrading);
    ui->pushButtonDelete->setEnabled(!busy.live && !upgrading);
    ui->pushButtonClear->setEnabled(reading == State::Idle || reading == State::Stopping);
    ui->iapDownLoadButton->setEnabled(!busy.live && reading == State::Idle);
    ui->comboBoxGayo->setEnabled(!busy.live);
    ui->iapDownLoadButton->setText(upgrading ? tr("取消") : tr("下载"));
    ui->pushButtonRead->setText(reading == State::Running  ? tr("暂停")
                                : reading == State::Paused ? tr("继续")
                                                           : tr("读取"));
}

void MainWindow::on_scanPortButton_clicked()
{
    showStatus(tr("寻找可用串口"));
    const QStringList names = serial->listPorts();
    ui->portComboBox->clear();
    ui->portComboBox->addItems(names);
}

void MainWindow::on_actionabout_triggered()
{
    QMessageBox::information(nullptr, tr("关于"), tr("Orvex"), QMessageBox::Ok);
}
