#include "app/mainwindow.h"

#include "measure/livesample.h"
#include "params/sensorcommands.h"
#include "protocol/protocol.h"
#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

void MainWindow::on_getAddrButton_clicked()
{
    showStatus(tr("获取设置地址"));
    if (!portIsOpen()) {
        QMessageBox::critical(nullptr, tr("错误"), tr("请先打开串口!"), QMessageBox::Yes);
        return;
    }
    serial->sendData(protocol->buildAddressQuery());
    ui->lineEditAddr->clear();
}

void MainWindow::on_pushButtonStart_clicked()
{
    // Stopping needs nothing from the sensor: only starting is checked, so a pending address
    // request can never leave the user unable to stop polling.
    const bool starting = ui->pushButtonStart->text() == tr("开始");
    if (starting && !sensorRequestAllowed())
        return;
    QWidget *lockedWhileLive[] = {ui->pushButtonRead, ui->pushButtonDelete, ui->iapDownLoadButton,
                                  ui->comboBoxGayo};
    if (starting) {
        showStatus(tr("更新实时数据"));
        ui->pushButtonStart->setText(tr("停止"));
        ui->pushButtonStart->setIcon(QIcon(QStringLiteral(":/stop.png")));
        for (QWidget *widget : lockedWhileLive)
            widget->setEnabled(false);
        sequenceMode = 0;
        protocol->address = ui->lineEditAddr->text();
        dataKind = ui->comboBoxGayo->currentIndex();
        for (QLabel *label : {ui->label_X, ui->label_Y, ui->label_Z, ui->label_T, ui->label_B})
            label->setText(QStringLiteral("0"));
        recordWriteFailing = false;
        sendSensorFrame(SensorCommands::readLiveData());
        sequenceTimer->start(100);
    } else {
        showStatus(tr("停止更新实际数据"));
        ui->pushButtonStart->setText(tr("开始"));
        ui->pushButtonStart->setIcon(QIcon(QStringLiteral(":/start.png")));
        for (QWidget *widget : lockedWhileLive)
            widget->setEnabled(true);
        sequenceTimer->stop();
    }
}

void MainWindow::timeIAPUpdate()
{
    sequenceTimer->stop();
    if (sequenceMode != 0)
        return;
    // Polls go to the address taken when measurement started, whatever was typed since.
    const SensorRequest poll = SensorCommands::readLiveData();
    protocol->length = poll.length();
    protocol->command = poll.command;
    serial->sendData(protocol->buildFrame());
    sequenceTimer->start(100);
}

void MainWindow::showLiveData()
{
    const LiveSample sample = decodeLiveSample(lastReply, dataKind);
    if (sample.hasAxes) {
        ui->label_X->setText(sample.x);
        ui->label_Y->setText(sample.y);
        ui->label_Z->setText(sample.z);
    }
    ui->label_T->setText(sample.temperature);
    ui->label_B->setText(sample.power);
}

void MainWindow::Save_Data_File()
{
    if (!ui->checkBox_Save->isChecked())
        return;
    const QString path = recordFilePath(ui->lineEdit_Save->text());
    const QDateTime now = QDateTime::currentDateTime();
    if (path.isEmpty())
        return;
    QFile file(path);
    const QString line = recordLine(now, ui->label_X->text(), ui->label_Y->text(),
                                    ui->label_Z->text(), ui->label_T->text(), ui->label_B->text());
    const QByteArray bytes = line.toLocal8Bit();
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)
                         && file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (written) {
        recordWriteFailing = false;
    } else if (!recordWriteFailing) {
        // The user asked to record and samples are being lost: say so once, keep measuring.
        recordWriteFailing = true;
        showStatus(tr("无法写入记录文件：%1").arg(QDir::toNativeSeparators(path)));
    }
}

void MainWindow::on_pushButton_Change_clicked()
{
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, tr("浏览文件夹"), QString(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        ui->lineEdit_Save->setText(QDir::toNativeSeparators(folder));
}
