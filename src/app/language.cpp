#include "app/mainwindow.h"

#include "app/startup.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QSettings>
#include <QTranslator>

void MainWindow::switchLanguage()
{
    // Busy states live in button texts, which the retranslation resets: remember them first.
    const bool portOpen = ui->openPortButton->text() == tr("关闭");
    const bool transferring = ui->iapDownLoadButton->text() == tr("取消");
    const bool readPausable = ui->pushButtonRead->text() == tr("暂停");
    const bool readPaused = ui->pushButtonRead->text() == tr("继续");
    const bool live = ui->pushButtonStart->text() == tr("停止");

    QSettings store(QStringLiteral("IAP"), QStringLiteral("update"));
    const QString stored = store.value(languageKey()).toString();

    if (switchTranslator) {
        qApp->removeTranslator(switchTranslator);
        delete switchTranslator;
    }
    switchTranslator = new QTranslator;
    const bool toEnglish = stored != QLatin1String("EN");
    if (switchTranslator->load(toEnglish ? QStringLiteral(":/tr_en.qm")
                                         : QStringLiteral(":/tr_zh.qm"))) {
        qApp->installTranslator(switchTranslator);
        store.setValue(languageKey(), toEnglish ? QStringLiteral("EN") : QStringLiteral("CN"));
    }

    companyLabel->setText(tr("Orvex"));
    ui->retranslateUi(this);
    retranslateTitle();

    if (portOpen) {
        ui->openPortButton->setText(tr("关闭"));
        ui->label_serial_open->setText(tr("串口已连接"));
    }
    if (transferring)
        ui->iapDownLoadButton->setText(tr("取消"));
    if (readPausable)
        ui->pushButtonRead->setText(tr("暂停"));
    if (readPaused)
        ui->pushButtonRead->setText(tr("继续"));
    if (live)
        ui->pushButtonStart->setText(tr("停止"));
}
