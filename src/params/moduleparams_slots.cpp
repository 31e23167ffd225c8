#include "app/mainwindow.h"

#include "params/moduleanswer.h"
#include "protocol/protocol.h"
#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QTimer>

void MainWindow::runModuleSteps(QWidget *button, const QList<AtStep> &steps)
{
    button->setEnabled(false);
    pauseLivePolling();
    for (const AtStep &step : steps) {
        serial->sendData(step.line);
        if (step.pauseMs > 0)
            Delay_MSec_Suspend(step.pauseMs);
    }
    resumeLivePolling();
    button->setEnabled(true);
}

void MainWindow::runModuleCommand(const QString &status, QWidget *button,
                                  const QList<QByteArray> &commands)
{
    showStatus(status);
    if (!sensorRequestAllowed())
        return;
    runModuleSteps(button, moduleExchange(commands));
}

void MainWindow::on_Lw_Button_Band_clicked()
{
    runModuleCommand(tr("设置参数"), ui->Lw_Button_Band,
                     {protocol->buildBandCommand(false, ui->BandCombo->currentIndex())});
}

void MainWindow::on_Lw_Button_BandF_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_BandF, {protocol->buildBandCommand(true)});
}

void MainWindow::on_Lw_Button_Heart_clicked()
{
    runModuleCommand(tr("设置参数"), ui->Lw_Button_Heart,
                     {protocol->buildHeartCommand(false, ui->HeartCombo->currentIndex())});
}

void MainWindow::on_Lw_Button_HeartF_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_HeartF, {protocol->buildHeartCommand(true)});
}

void MainWindow::on_Lw_Button_Chanel_clicked()
{
    runModuleCommand(tr("设置参数"), ui->Lw_Button_Chanel,
                     {protocol->buildChannelCommand(false, ui->Edit_Chanel1->text()),
                      protocol->buildChannelCommand(false, ui->Edit_Chanel2->text())});
}

void MainWindow::on_Lw_Button_ChanelF_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_ChanelF,
                     {protocol->buildChannelCommand(true)});
}

void MainWindow::on_Lw_Button_Deveui_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_Deveui, {protocol->buildIdQuery(0)});
}

void MainWindow::on_Lw_Button_Appeui_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_Appeui, {protocol->buildIdQuery(1)});
}

void MainWindow::on_Lw_Button_Appkey_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_Appkey, {protocol->buildIdQuery(2)});
}

void MainWindow::on_pushButton_lsetting_clicked()
{
    showStatus(tr("一键设置参数"));
    oneKeyModuleOkCount = 0;
    if (!sensorRequestAllowed())
        return;
    runModuleSteps(ui->pushButton_lsetting,
                   moduleExchange({protocol->buildBandCommand(false, ui->BandCombo->currentIndex()),
                                   protocol->buildHeartCommand(false,
                                                               ui->HeartCombo->currentIndex()),
                                   protocol->buildChannelCommand(false, ui->Edit_Chanel1->text()),
                                   protocol->buildChannelCommand(false, ui->Edit_Chanel2->text()),
                                   protocol->buildSaveResetCommand(false),
                                   protocol->buildSaveResetCommand(true)}));
    // The verdict is judged right after the closing line, before the button comes back.
    showStatus(oneKeyModuleOkCount == 5 ? tr("一键设置参数成功！") : tr("一键设置参数失败！！"));
    oneKeyModuleOkCount = 0;
}

void MainWindow::on_Button_Default_LW_clicked()
{
    showStatus(tr("恢复出厂默认值"));
    if (!sensorRequestAllowed())
        return;
    if (!confirmFactoryReset(tr("是否把LoRaWAN模块参数恢复到出厂设置?")))
        return;
    runModuleSteps(ui->Button_Default_LW, moduleExchange({protocol->buildRenewCommand()}));
}

void MainWindow::on_Button_Save_LW_clicked()
{
    showStatus(tr("保存参数"));
    if (!sensorRequestAllowed())
        return;
    runModuleSteps(ui->Button_Save_LW, moduleExchange({protocol->buildSaveResetCommand(false),
                                                       protocol->buildSaveResetCommand(true)},
                                                      100));
}

void MainWindow::timeUpdate()
{
    // Runs once the module's text has been quiet for 50 ms. Nothing more can arrive without
    // restarting the timer, so it stops here instead of firing on an empty buffer.
    replyGapTimer->stop();
    const ModuleAnswer answer = parseModuleAnswer(rxBuffer);
    rxBuffer.clear();
    if (answer.counted())
        oneKeyModuleOkCount = oneKeyModuleOkCount >= 10000 ? 0 : oneKeyModuleOkCount + 1;
    switch (answer.kind) {
    case ModuleAnswer::BandSet:
        showStatus(tr("频段设置成功！"));
        break;
    case ModuleAnswer::ChannelSet:
        showStatus(tr("信道设置成功！"));
        break;
    case ModuleAnswer::HeartSet:
        showStatus(tr("心跳设置成功！"));
        break;
    case ModuleAnswer::Saved:
        showStatus(tr("保存设置成功！"));
        break;
    case ModuleAnswer::Renewed:
        showStatus(tr("恢复出厂设置成功！"));
        break;
    case ModuleAnswer::BandQuery:
        ui->BandCombo->setCurrentIndex(answer.index);
        showStatus(tr("查询成功！"));
        break;
    case ModuleAnswer::HeartQuery:
        ui->HeartCombo->setCurrentIndex(answer.index);
        showStatus(tr("查询成功！"));
        break;
    case ModuleAnswer::ChannelQuery:
        ui->Edit_Chanel1->setText(answer.text);
        ui->Edit_Chanel2->setText(answer.text2);
        showStatus(tr("查询成功！"));
        break;
    case ModuleAnswer::DevEui:
    case ModuleAnswer::AppEui:
    case ModuleAnswer::AppKey: {
        QLineEdit *field = answer.kind == ModuleAnswer::DevEui   ? ui->Edit_Deveui
                           : answer.kind == ModuleAnswer::AppEui ? ui->Edit_Appeui
                                                                 : ui->Edit_Appkey;
        field->setText(answer.text);
        showStatus(tr("查询成功！"));
        break;
    }
    case ModuleAnswer::None:
        break;
    }
}
