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

void MainWindow::reportTemplateLoaded(const QStringList &invalidKeys, const QString &success)
{
    if (invalidKeys.isEmpty()) {
        QMessageBox::information(nullptr, tr("参数信息"), success, QMessageBox::Yes);
        return;
    }
    // Templates travel between colleagues: a value that is not what its key expects is not
    // put into the form, and the user learns which ones.
    QMessageBox::critical(nullptr, tr("错误"),
                          tr("模板中的值无效，未加载：%1").arg(invalidKeys.join(QStringLiteral(", "))),
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
    const auto loaded = ParameterTemplates::loadSensor(ParameterTemplates::defaultPath());
    if (loaded.invalidKeys.isEmpty())
        showSensorForm(loaded.values);
    reportTemplateLoaded(loaded.invalidKeys, tr("传感器参数模板信息加载成功!"));
}

void MainWindow::on_pushButton_ldaochu_clicked()
{
    if (!askTemplateQuestion(tr("是否将当前参数保存为本地配置文件？<br>此操作不会修改模组内部参数。")))
        return;
    reportTemplateSaved(ParameterTemplates::saveModule(ParameterTemplates::defaultPath(),
                                                       moduleForm()),
                        tr("模组参数模板信息保存成功!"));
}

void MainWindow::on_pushButton_ldaoru_clicked()
{
    if (!askTemplateQuestion(tr("是否从本地加载参数模板？<br>加载后需点击【一键设置】生效。")))
        return;
    const auto loaded = ParameterTemplates::loadModule(ParameterTemplates::defaultPath());
    if (loaded.invalidKeys.isEmpty())
        showModuleForm(loaded.values);
    reportTemplateLoaded(loaded.invalidKeys, tr("模组参数模板信息加载成功!"));
}
