#include "app/mainwindow.h"

#include "app/startup.h"
#include "chart/charttab.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QSettings>
#include <QTranslator>

void MainWindow::switchLanguage()
{
    QSettings store(QStringLiteral("IAP"), QStringLiteral("update"));
    const QString stored = store.value(languageKey()).toString();

    // The start-up translator stays; the switch translator is installed after it and so wins.
    switchTranslator = std::make_unique<QTranslator>();
    const bool toEnglish = stored != QLatin1String("EN");
    if (switchTranslator->load(toEnglish ? QStringLiteral(":/tr_en.qm")
                                         : QStringLiteral(":/tr_zh.qm"))) {
        qApp->installTranslator(switchTranslator.get());
        store.setValue(languageKey(), toEnglish ? QStringLiteral("EN") : QStringLiteral("CN"));
    }

    companyLabel->setText(tr("Orvex"));
    ui->retranslateUi(this);
    ui->tabWidget->setTabText(ui->tabWidget->indexOf(chartTab), ChartTab::title());
    retranslateTitle();
    // The form gives the buttons their idle texts back; the state shows them as they are.
    showBusyState();
}
