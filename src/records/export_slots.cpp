#include "app/mainwindow.h"

#include "records/csvwriter.h"
#include "records/exporttarget.h"
#include "records/recordtablemodel.h"
#include "records/workbookwriter.h"
#include "ui_mainwindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

void MainWindow::on_pushButtonExcel_clicked()
{
    showStatus(tr("导出数据"));
    QString filter;
    const QString chosen = QFileDialog::getSaveFileName(
        this, QStringLiteral("save file"), QString(), exportFilters(), &filter);
    if (chosen.isEmpty())
        return;
    const ExportTarget target = exportTarget(chosen, filter);
    const QString &name = target.path;
    bool written = false;
    if (target.format == ExportTarget::Format::Csv)
        written = CsvWriter().write(name, model->headerTexts(), model->records());
    else
        written = WorkbookWriter().write(name, *model);
    if (!written) {
        QMessageBox::critical(nullptr, tr("错误"),
            tr("文件导出失败，无法写入：%1").arg(QDir::toNativeSeparators(name)), QMessageBox::Yes);
        return;
    }
    if (QMessageBox::question(nullptr, QStringLiteral("完成"),
            QStringLiteral("文件已经导出，是否现在打开?"), QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(name));
}
