#include "app/mainwindow.h"

#include "params/sensorcommands.h"
#include "protocol/protocol.h"
#include "protocol/timing.h"
#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QMessageBox>
#include <QTimer>

bool MainWindow::sensorRequestAllowed()
{
    if (!busy.portOpen) {
        QMessageBox::critical(nullptr, tr("错误"), tr("请先打开串口!"), QMessageBox::Yes);
        return false;
    }
    if (ui->lineEditAddr->text().isEmpty()) {
        QMessageBox::critical(nullptr, tr("错误"), tr("设备地址未获取到!"), QMessageBox::Yes);
        return false;
    }
    return true;
}

quint32 MainWindow::workingAddress() const
{
    return Protocol::parseAddress(ui->lineEditAddr->text());
}

bool MainWindow::confirmFactoryReset(const QString &question)
{
    return QMessageBox::warning(nullptr, tr("提示"), question, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No)
           == QMessageBox::Yes;
}

void MainWindow::pauseLivePolling()
{
    if (busy.live)
        sequenceTimer->stop();
}

void MainWindow::resumeLivePolling()
{
    if (busy.live)
        sequenceTimer->start(Timing::liveResumeMs);
}

void MainWindow::runSensorCommand(const QString &status, const SensorRequest &request)
{
    showStatus(status);
    if (!sensorRequestAllowed())
        return;
    pauseLivePolling();
    serial->sendData(Protocol::buildFrame(workingAddress(), request));
    resumeLivePolling();
}

void MainWindow::on_Dev_Button_Addr_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::setAddress(ui->Edit_Addr->text()));
}

void MainWindow::on_Dev_Button_Baud_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::setBaud(ui->Combo_Baud->currentIndex()));
}

void MainWindow::on_Dev_Button_Send_clicked()
{
    runSensorCommand(tr("设置参数"),
                     SensorCommands::setUploadMode(ui->Combo_Send->currentIndex()));
}

void MainWindow::on_Dev_Button_Zero_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::setZeroMode(ui->Combo_Zero->currentIndex()));
}

void MainWindow::on_Dev_Button_ZeroF_clicked()
{
    runSensorCommand(tr("查询参数"), SensorCommands::queryZeroMode());
}

void MainWindow::on_Dev_Button_Auto_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::setOutputTiming(ui->Edit_Auto->text(),
                                                                     ui->Edit_Keep->text()));
}

void MainWindow::on_Dev_Button_Sleep_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::setSleepPeriod(ui->Edit_Sleep->text()));
}

void MainWindow::on_Dev_Button_SleepF_clicked()
{
    runSensorCommand(tr("查询参数"), SensorCommands::querySleepPeriod());
}

void MainWindow::on_pushButtonAlarm_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::setAlarmThreshold(ui->Edit_Alarm->text()));
}

void MainWindow::on_Dev_Button_Sport_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::setMotionDuration(ui->Edit_Sport->text()));
}

void MainWindow::on_Dev_Button_Yu_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::setMotionThreshold(ui->Edit_Yu->text()));
}

void MainWindow::on_Dev_Button_Date_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::setDateTime(sensorForm().dateTime));
}

void MainWindow::on_Dev_Button_DateF_clicked()
{
    runSensorCommand(tr("查询参数"), SensorCommands::queryDateTime());
}

void MainWindow::on_Dev_Button_Instal_clicked()
{
    runSensorCommand(tr("设置参数"),
                     SensorCommands::setInstallation(ui->Combo_Instal->currentIndex()));
}

void MainWindow::on_Dev_Button_Save_clicked()
{
    runSensorCommand(tr("设置参数"), SensorCommands::saveParameters());
}

void MainWindow::on_Dev_Button_Default_clicked()
{
    showStatus(tr("设置参数"));
    if (!sensorRequestAllowed())
        return;
    if (!confirmFactoryReset(tr("是否把传感器参数恢复到出厂设置?")))
        return;
    // The button stays as it is: the confirmation box already kept the user from pressing twice.
    runExchange(SensorCommands::factoryDefaults(workingAddress()), nullptr, true);
}

SensorForm MainWindow::sensorForm() const
{
    SensorForm form;
    form.uploadMode = ui->Combo_Send->currentIndex();
    form.zeroMode = ui->Combo_Zero->currentIndex();
    form.installation = ui->Combo_Instal->currentIndex();
    form.autoInterval = ui->Edit_Auto->text();
    form.keepTime = ui->Edit_Keep->text();
    form.sleepPeriod = ui->Edit_Sleep->text();
    form.alarmThreshold = ui->Edit_Alarm->text();
    form.motionDuration = ui->Edit_Sport->text();
    form.motionThreshold = ui->Edit_Yu->text();
    form.dateTime = QStringList {ui->lineEdit_y->text(), ui->lineEdit_m->text(),  ui->lineEdit_d->text(),
                     ui->lineEdit_h->text(), ui->lineEdit_mm->text(), ui->lineEdit_s->text()};
    return form;
}

void MainWindow::showSensorForm(const SensorForm &form)
{
    ui->Combo_Send->setCurrentIndex(form.uploadMode);
    ui->Combo_Zero->setCurrentIndex(form.zeroMode);
    ui->Combo_Instal->setCurrentIndex(form.installation);
    ui->Edit_Auto->setText(form.autoInterval);
    ui->Edit_Keep->setText(form.keepTime);
    ui->Edit_Sleep->setText(form.sleepPeriod);
    ui->Edit_Alarm->setText(form.alarmThreshold);
    ui->Edit_Sport->setText(form.motionDuration);
    ui->Edit_Yu->setText(form.motionThreshold);
}

void MainWindow::on_pushButton_ssetting_clicked()
{
    showStatus(tr("一键设置参数"));
    oneKeySensorOkCount = 0;
    if (!sensorRequestAllowed())
        return;
    // Live polling keeps running during the one-key set.
    runExchange(SensorCommands::oneKeySet(workingAddress(), sensorForm()), ui->pushButton_ssetting,
                false, {&oneKeySensorOkCount, tr("一键设置参数成功!"), tr("一键设置参数失败！！")});
}
