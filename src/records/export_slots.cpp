#include "app/mainwindow.h"

#include "records/recordtablemodel.h"
#include "records/workbookwriter.h"
#include "ui_mainwindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

void MainWindow::on_pushButtonExcel_clicked()
{
    showStatus(tr("导出数据"));
    QString name = QFileDialog::getSaveFileName(
        this, QStringLiteral("save file"), QString(), QStringLiteral("Excel (*.xlsx)"));
    if (name.isEmpty())
        return;
    // Dialogs that do not add the filter's suffix themselves leave a name the desktop cannot
    // open with a spreadsheet program.
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".xlsx");
    WorkbookWriter writer;
    if (!writer.write(name, *model)) {
        QMessageBox::critical(nullptr, tr("错误"),
            tr("文件导出失败，无法写入：%1").arg(QDir::toNativeSeparators(name)), QMessageBox::Yes);
        return;
    }
    if (QMessageBox::question(nullptr, QStringLiteral("完成"),
            QStringLiteral("文件已经导出，是否现在打开?"), QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(name));
}
