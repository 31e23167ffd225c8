#include "app/mainwindow.h"

#include "chart/charttab.h"
#include "measure/livesample.h"
#include "params/sensorcommands.h"
#include "protocol/protocol.h"
#include "protocol/timing.h"
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
    if (!busy.portOpen) {
        QMessageBox::critical(nullptr, tr("错误"), tr("请先打开串口!"), QMessageBox::Yes);
        return;
    }
    serial->sendData(Protocol::buildAddressQuery());
    ui->lineEditAddr->clear();
}

void MainWindow::on_pushButtonStart_clicked()
{
    // Stopping needs nothing from the sensor: only starting is checked, so a pending address
    // request can never leave the user unable to stop polling.
    if (busy.live) {
        showStatus(tr("停止更新实际数据"));
        busy.live = false;
        showBusyState();
        sequenceTimer->stop();
        return;
    }
    if (!sensorRequestAllowed())
        return;
    showStatus(tr("更新实时数据"));
    busy.live = true;
    showBusyState();
    sequenceMode = 0;
    liveAddress = workingAddress();
    dataKind = ui->comboBoxGayo->currentIndex();
    for (QLabel *label : {ui->label_X, ui->label_Y, ui->label_Z, ui->label_T, ui->label_B})
        label->setText(QStringLiteral("0"));
    recordWriteFailing = false;
    serial->sendData(Protocol::buildFrame(liveAddress, SensorCommands::readLiveData()));
    sequenceTimer->start(Timing::livePollMs);
}

void MainWindow::timeIAPUpdate()
{
    sequenceTimer->stop();
    if (sequenceMode == 1) {
        firmwareTick();
        return;
    }
    if (sequenceMode != 0)
        return;
    // Polls go to the address taken when measurement started (or acknowledged since), whatever
    // the address field shows meanwhile.
    serial->sendData(Protocol::buildFrame(liveAddress, SensorCommands::readLiveData()));
    sequenceTimer->start(Timing::livePollMs);
}

void MainWindow::showLiveSample(const LiveSample &sample)
{
    ui->label_X->setText(sample.x);
    ui->label_Y->setText(sample.y);
    ui->label_Z->setText(sample.z);
    ui->label_T->setText(sample.temperature);
    ui->label_B->setText(sample.power);
    chartTab->addLiveSample(QDateTime::currentMSecsSinceEpoch() / 1000.0, sample, dataKind);
}

void MainWindow::Save_Data_File(const LiveSample &sample)
{
    if (!ui->checkBox_Save->isChecked())
        return;
    const QString folder = ui->lineEdit_Save->text();
    const QString path = recordFilePath(folder);
    if (path.isEmpty())
        return;
    // The tool's own default folder (the documents folder) may not exist yet on a fresh
    // account; a folder the user typed or chose is taken as it is.
    if (folder == defaultRecordFolder)
        QDir().mkpath(folder);
    QFile file(path);
    const QByteArray bytes = recordLine(QDateTime::currentDateTime(), sample).toLocal8Bit();
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
