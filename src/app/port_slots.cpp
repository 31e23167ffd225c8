#include "app/mainwindow.h"

#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QMessageBox>
#include <QTimer>

void MainWindow::on_openPortButton_clicked()
{
    if (busy.portOpen) {
        closePort(tr("串口已断开"));
        return;
    }
    const int baud = ui->baudComboBox->currentText().toInt();
    if (!serial->openPort(ui->portComboBox->currentText().trimmed(), baud)) {
        showStatus(tr("串口打开失败"));
        QMessageBox::warning(nullptr, tr("串口打开失败"), tr("请选择正确的串口或串口被占用!"),
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
    busy.portOpen = false;
    busy.live = false;
    upgrade.cancel();
    showBusyState();
    showStatus(status);
}

void MainWindow::onPortLost()
{
    if (busy.portOpen)
        closePort(tr("串口已断开：设备已移除"));
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
