#include "app/mainwindow.h"

#include "params/moduleanswer.h"
#include "params/modulecommands.h"
#include "ui_mainwindow.h"

#include <QTimer>

void MainWindow::runModuleCommand(const QString &status, QWidget *button, const Exchange &exchange)
{
    showStatus(status);
    if (!sensorRequestAllowed())
        return;
    runExchange(exchange, button, true);
}

ModuleForm MainWindow::moduleForm() const
{
    return {ui->BandCombo->currentIndex(), ui->HeartCombo->currentIndex(),
            ui->Edit_Chanel1->text(), ui->Edit_Chanel2->text()};
}

void MainWindow::showModuleForm(const ModuleForm &form)
{
    ui->BandCombo->setCurrentIndex(form.band);
    ui->HeartCombo->setCurrentIndex(form.heart);
    ui->Edit_Chanel1->setText(form.channel1);
    ui->Edit_Chanel2->setText(form.channel2);
}

void MainWindow::on_Lw_Button_Band_clicked()
{
    runModuleCommand(tr("设置参数"), ui->Lw_Button_Band,
                     ModuleCommands::setBand(ui->BandCombo->currentIndex()));
}

void MainWindow::on_Lw_Button_BandF_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_BandF, ModuleCommands::queryBand());
}

void MainWindow::on_Lw_Button_Heart_clicked()
{
    runModuleCommand(tr("设置参数"), ui->Lw_Button_Heart,
                     ModuleCommands::setHeart(ui->HeartCombo->currentIndex()));
}

void MainWindow::on_Lw_Button_HeartF_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_HeartF, ModuleCommands::queryHeart());
}

void MainWindow::on_Lw_Button_Chanel_clicked()
{
    runModuleCommand(tr("设置参数"), ui->Lw_Button_Chanel,
                     ModuleCommands::setChannels(ui->Edit_Chanel1->text(),
                                                 ui->Edit_Chanel2->text()));
}

void MainWindow::on_Lw_Button_ChanelF_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_ChanelF, ModuleCommands::queryChannels());
}

void MainWindow::on_Lw_Button_Deveui_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_Deveui, ModuleCommands::queryId(0));
}

void MainWindow::on_Lw_Button_Appeui_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_Appeui, ModuleCommands::queryId(1));
}

void MainWindow::on_Lw_Button_Appkey_clicked()
{
    runModuleCommand(tr("查询参数"), ui->Lw_Button_Appkey, ModuleCommands::queryId(2));
}

void MainWindow::on_pushButton_lsetting_clicked()
{
    showStatus(tr("一键设置参数"));
    oneKeyModuleOkCount = 0;
    if (!sensorRequestAllowed())
        return;
    // The verdict is judged right after the closing line, before the button comes back.
    runExchange(ModuleCommands::oneKeySet(moduleForm()), ui->pushButton_lsetting, true,
                {&oneKeyModuleOkCount, tr("一键设置参数成功！"), tr("一键设置参数失败！！")});
}

void MainWindow::on_Button_Default_LW_clicked()
{
    showStatus(tr("恢复出厂默认值"));
    if (!sensorRequestAllowed())
        return;
    if (!confirmFactoryReset(tr("是否把LoRaWAN模块参数恢复到出厂设置?")))
        return;
    runExchange(ModuleCommands::renew(), ui->Button_Default_LW, true);
}

void MainWindow::on_Button_Save_LW_clicked()
{
    showStatus(tr("保存参数"));
    if (!sensorRequestAllowed())
        return;
    runExchange(ModuleCommands::save(), ui->Button_Save_LW, true);
}

void MainWindow::timeUpdate()
{
    // Runs once the module's text has been quiet for 50 ms. Nothing more can arrive without
    // restarting the timer, so it stops here instead of firing on an empty buffer.
    replyGapTimer->stop();
    const ModuleAnswer answer = parseModuleAnswer(rxBuffer);
    rxBuffer.clear();
    if (answer.counted())
        oneKeyModuleOkCount = nextAnswerCount(oneKeyModuleOkCount);
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
