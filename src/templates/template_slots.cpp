#include "app/mainwindow.h"

#include "templates/parametertemplate.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

bool MainWindow::askTemplateQuestion(const QString &question)
{
    return QMessageBox::information(nullptr, tr("提示"), question,
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
           == QMessageBox::Yes;
}

void MainWindow::reportTemplateSaved(bool written, const QString &success)
{
    if (written) {
        QMessageBox::information(nullptr, tr("参数信息"), success, QMessageBox::Yes);
        return;
    }
    // The user must not believe a template was kept when the file took nothing.
    const QString where =
        QDir::toNativeSeparators(QFileInfo(ParameterTemplates::defaultPath()).absoluteFilePath());
    QMessageBox::critical(nullptr, tr("错误"), tr("模板无法写入：%1").arg(where),
                          QMessageBox::Yes);
}

void MainWindow::on_pushButton_daochu_clicked()
{
    if (!askTemplateQuestion(tr("是否将当前参数保存为本地配置文件？<br>此操作不会修改传感器内部参数。")))
        return;
    reportTemplateSaved(
        ParameterTemplates::saveSensor(ParameterTemplates::defaultPath(), sensorForm()),
        tr("传感器参数模板保存成功!"));
}

void MainWindow::on_pushButton_daoru_clicked()
{
    if (!askTemplateQuestion(tr("是否从本地加载参数模板？<br>加载后需点击【一键设置】生效。")))
        return;
    showSensorForm(ParameterTemplates::loadSensor(ParameterTemplates::defaultPath()));
    QMessageBox::information(nullptr, tr("参数信息"), tr("传感器参数模板信息加载成功!"),
                             QMessageBox::Yes);
}

void MainWindow::on_pushButton_ldaochu_clicked()
{
    if (!askTemplateQuestion(tr("是否将当前参数保存为本地配置文件？<br>此操作不会修改模组内部参数。")))
        return;
    ModuleTemplate values;
    values.band = ui->BandCombo->currentIndex();
    values.heart = ui->HeartCombo->currentIndex();
    values.channel1 = ui->Edit_Chanel1->text();
    values.channel2 = ui->Edit_Chanel2->text();
    reportTemplateSaved(ParameterTemplates::saveModule(ParameterTemplates::defaultPath(), values),
                        tr("模组参数模板信息保存成功!"));
}

void MainWindow::on_pushButton_ldaoru_clicked()
{
    if (!askTemplateQuestion(tr("是否从本地加载参数模板？<br>加载后需点击【一键设置】生效。")))
        return;
    const ModuleTemplate values = ParameterTemplates::loadModule(ParameterTemplates::defaultPath());
    ui->BandCombo->setCurrentIndex(values.band);
    ui->HeartCombo->setCurrentIndex(values.heart);
    ui->Edit_Chanel1->setText(values.channel1);
    ui->Edit_Chanel2->setText(values.channel2);
    QMessageBox::information(nullptr, tr("参数信息"), tr("模组参数模板信息加载成功!"),
                             QMessageBox::Yes);
}
