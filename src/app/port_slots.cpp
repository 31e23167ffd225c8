#include "app/mainwindow.h"

#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QMessageBox>
#include <QTimer>

bool MainWindow::portIsOpen() const
{
    return ui->openPortButton->text() == tr("关闭");
}

void MainWindow::on_openPortButton_clicked()
{
    if (portIsOpen()) {
        serial->closePort();
        showPortClosed();
        showStatus(tr("串口已断开"));
        return;
    }
    const int baud = ui->baudComboBox->currentText().toInt();
    if (!serial->openPort(ui->portComboBox->currentText().trimmed(), baud)) {
        showStatus(tr("串口打开失败"));
        QMessageBox::warning(nullptr, tr("串口打开失败"), tr("请选择正确的串口或串口被占用!"),
                             QMessageBox::Yes);
        return;
    }
    showPortOpen();
    showStatus(tr("串口已连接"));
}

void MainWindow::showPortOpen()
{
    ui->portComboBox->setEnabled(false);
    ui->baudComboBox->setEnabled(false);
    ui->scanPortButton->setEnabled(false);
    ui->label_ttl->setEnabled(true);
    ui->openPortButton->setText(tr("关闭"));
    ui->label_serial_open->setText(tr("串口已连接"));
    QPalette palette = ui->label_serial_open->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    ui->label_serial_open->setPalette(palette);
}

void MainWindow::showPortClosed()
{
    ui->portComboBox->setEnabled(true);
    ui->baudComboBox->setEnabled(true);
    ui->scanPortButton->setEnabled(true);
    ui->label_ttl->setEnabled(false);
    ui->openPortButton->setText(tr("打开"));
    ui->lineEditAddr->clear();
    ui->label_serial_open->setText(tr("串口已断开"));
    QPalette palette = ui->label_serial_open->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    ui->label_serial_open->setPalette(palette);

    if (ui->iapDownLoadButton->text() == tr("取消")) {
        ui->iapDownLoadButton->setText(tr("下载"));
        ui->pushButtonRead->setEnabled(true);
        ui->pushButtonDelete->setEnabled(true);
        ui->pushButtonStart->setEnabled(true);
        sequenceTimer->stop();
    }
    if (ui->pushButtonStart->text() == tr("停止")) {
        ui->pushButtonStart->setText(tr("开始"));
        ui->pushButtonStart->setIcon(QIcon(QStringLiteral(":/start.png")));
        ui->pushButtonRead->setEnabled(true);
        ui->pushButtonDelete->setEnabled(true);
        ui->iapDownLoadButton->setEnabled(true);
        ui->comboBoxGayo->setEnabled(true);
        sequenceTimer->stop();
    }
}

void MainWindow::onPortLost()
{
    if (!portIsOpen())
        return;
    serial->closePort();
    showPortClosed();
    showStatus(tr("串口已断开：设备已移除"));
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
