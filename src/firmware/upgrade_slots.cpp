#include "app/mainwindow.h"

#include "firmware/firmwareversion.h"
#include "protocol/protocol.h"
#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QDebug>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

void MainWindow::on_iapLoadFileButton_clicked()
{
    if (!busy.portOpen) {
        QMessageBox::critical(nullptr, tr("错误"), tr("请先打开串口!"), QMessageBox::Yes);
        return;
    }
    showStatus(tr("加载固件"));
    const QString folder = QSettings(QStringLiteral("./Setting.ini"), QSettings::IniFormat)
                               .value(QStringLiteral("LastFilePath"))
                               .toString();
    firmwarePath
        = QFileDialog::getOpenFileName(this, tr("加载一个固件"), folder, tr("固件(*.ovx)"));
    if (firmwarePath.isEmpty())
        return;
    ui->b_FirmwarePath->setText(firmwarePath);
    LoadFile(true);
}

void MainWindow::LoadFile(bool addrF)
{
    firmware = FirmwareFile::load(firmwarePath);
    qDebug("size:%d", firmware.decryptedSize);
    firmwareVersion = firmware.version;
    const QString address = FirmwareFile::defaultAddress(firmware.addressWidth);
    if (addrF && !address.isEmpty())
        ui->b_FirmwareAddr->setText(address);
    ui->tb_IAPMsg->clear();
    appendPlainLine(ui->tb_IAPMsg, tr("固件大小：%1").arg(firmware.image.size()));
    appendPlainLine(ui->tb_IAPMsg, tr("固件版本号：%1").arg(firmware.version));
}

void MainWindow::on_iapClearButton_clicked()
{
    showStatus(tr("清空消息"));
    ui->tb_IAPMsg->clear();
}

void MainWindow::on_iapDownLoadButton_clicked()
{
    if (upgrade.running()) {
        // Cancelled: nothing more goes to the loader.
        upgrade.cancel();
        sequenceTimer->stop();
        showBusyState();
        return;
    }
    if (!busy.portOpen) {
        QMessageBox::critical(nullptr, tr("错误"), tr("请先打开串口!"), QMessageBox::Yes);
        return;
    }
    ui->tb_IAPMsg->clear();
    LoadFile(false);
    if (!firmware.usable()) {
        appendPlainLine(ui->tb_IAPMsg, tr("固件出错，请重新加载！"));
        return;
    }
    showStatus(tr("更新固件"));
    FirmwareUpgrade::Target target;
    target.image = firmware.image;
    target.address = Protocol::parseAddress(ui->b_FirmwareAddr->text());
    target.addressWidth = firmware.addressWidth;
    target.updateCommand = firmware.updateCommand;
    upgrade.start(target);
    versionChecked = false;
    sequenceMode = 1;
    showBusyState();
    sequenceTimer->start(FirmwareUpgrade::tickMs);
}

void MainWindow::firmwareTick()
{
    const FirmwareUpgrade::Tick tick = upgrade.tick();
    if (!tick.send.isEmpty())
        serial->sendData(tick.send);
    for (FirmwareUpgrade::Note note : tick.notes) {
        QString line;
        switch (note) {
        case FirmwareUpgrade::Note::RequestSent:
            line = tr("请求更新固件！");
            break;
        case FirmwareUpgrade::Note::ResponseReceived:
            line = tr("收到响应，进入刷固件流程！");
            break;
        case FirmwareUpgrade::Note::Progress:
            line = tr("已发送%1%").arg(QString::number(double(tick.percent), 'f', 2));
            break;
        case FirmwareUpgrade::Note::TimedOutResend:
            line = tr("等待超时，重发!");
            break;
        case FirmwareUpgrade::Note::ChecksumResend:
            line = tr("数据效验错误，重新发送!");
            break;
        case FirmwareUpgrade::Note::Written:
            line = tr("数据写入成功！");
            break;
        case FirmwareUpgrade::Note::Completed:
            line = tr("更新完成！");
            break;
        }
        appendPlainLine(ui->tb_IAPMsg, line);
    }
    if (tick.nextMs > 0)
        sequenceTimer->start(tick.nextMs);
    else
        showBusyState();
}

void MainWindow::handleFirmwareReply(const QByteArray &reply, bool versionInfo)
{
    upgrade.takeReply(reply);
    appendPlainLine(ui->tb_IAPMsg, tr("设备接收成功"));
    // The loader's version is judged once per upgrade, before the transfer begins.
    if (!versionInfo || !ui->VersioncheckBox->isChecked() || versionChecked
        || upgrade.step() == FirmwareUpgrade::Step::Transferring || !upgrade.running())
        return;
    versionChecked = true;
    using FirmwareVersion::Verdict;
    const Verdict verdict
        = FirmwareVersion::judge(FirmwareVersion::fromLoaderReply(reply), firmwareVersion);
    if (verdict == Verdict::Accept)
        return;
    sequenceTimer->stop();
    if (verdict == Verdict::DeviceNewer) {
        const QMessageBox::StandardButton answer = QMessageBox::warning(nullptr, tr("提示"),
            tr("设备固件版本号比升级包固件版本号高，是否继续升级？"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes && upgrade.running()) {
            sequenceTimer->start();
            return;
        }
    }
    upgrade.cancel();
    showBusyState();
    if (verdict == Verdict::ModelMismatch)
        QMessageBox::critical(
            nullptr, tr("提示"), tr("升级包版本型号和设备版本型号不匹配，升级失败!"));
    else if (verdict == Verdict::FormatError)
        QMessageBox::critical(nullptr, tr("提示"), tr("固件版本号格式错误，升级失败!"));
    serial->sendData(upgrade.abortFrame());
}
