#include "app/mainwindow.h"

#include "protocol/timing.h"
#include "records/recordtablemodel.h"
#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QMessageBox>
#include <QTimer>

void MainWindow::on_radioButtonALL_clicked()
{
    ui->lineEditBegin->setEnabled(false);
    ui->lineEditEnd->setEnabled(false);
}

void MainWindow::on_radioButtonPoint_clicked()
{
    ui->lineEditBegin->setEnabled(true);
    ui->lineEditEnd->setEnabled(true);
}

void MainWindow::on_radioButtonTimeUp_clicked()
{
    ui->radioButtonPoint->setEnabled(true);
    ui->lineEditBegin->setEnabled(true);
    ui->lineEditEnd->setEnabled(true);
}

void MainWindow::on_radioButtonTimeDown_clicked()
{
    // A descending read covers the whole memory.
    ui->radioButtonPoint->setEnabled(false);
    ui->lineEditBegin->setEnabled(false);
    ui->lineEditEnd->setEnabled(false);
}

void MainWindow::on_pushButtonRead_clicked()
{
    if (!sensorRequestAllowed())
        return;
    // The range is checked on every click, also when it only pauses or continues.
    const std::optional<RecordRange> range = recordRange(
        ui->radioButtonALL->isChecked(), ui->lineEditBegin->text(), ui->lineEditEnd->text());
    if (!range) {
        QMessageBox::critical(
            nullptr, tr("错误"), tr("开始地址和结束地址设置错误!"), QMessageBox::Yes);
        return;
    }
    QByteArray request;
    switch (readback.state()) {
    case RecordReadback::State::Running:
        readback.pause(*range);
        showStatus(tr("暂停读取设备数据"));
        break;
    case RecordReadback::State::Paused:
        showStatus(tr("继续读取设备数据"));
        request = readback.resume(workingAddress(), *range);
        break;
    default:
        model->clear();
        showStatus(tr("读取设备数据"));
        request = readback.start(workingAddress(),
            ui->radioButtonTimeUp->isChecked() ? RecordReadback::Order::Ascending
                                               : RecordReadback::Order::Descending,
            *range);
        break;
    }
    showBusyState();
    if (!request.isEmpty())
        sendReadbackRequest(request, Timing::readbackReplyMs);
}

void MainWindow::on_pushButtonStop_clicked()
{
    showStatus(tr("停止读取设备数据"));
    const QByteArray request = readback.stop();
    showBusyState();
    if (!request.isEmpty())
        sendReadbackRequest(request, Timing::readbackReplyMs);
}

void MainWindow::on_pushButtonClear_clicked()
{
    showStatus(tr("清空表格"));
    model->clear();
    ui->tableView->scrollToTop();
}

void MainWindow::on_pushButtonDelete_clicked()
{
    if (!sensorRequestAllowed())
        return;
    showStatus(tr("删除设备数据"));
    const QMessageBox::StandardButton answer = QMessageBox::warning(nullptr, tr("提示"),
        tr("删除操作将删除传感器保存的数据，请谨慎操作！<br>删除过程用时大约6S，请耐心等待！"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    sendReadbackRequest(readback.eraseRequest(workingAddress()), Timing::eraseReplyMs);
}

void MainWindow::handleRecordPage(const QByteArray &page)
{
    const RecordReadback::PageResult result = readback.takePage(page);
    if (result.accepted) {
        model->append(result.records);
        showStatus(tr("已读取数据%1组").arg(model->records().size()));
        showTableEnd(result.finished);
    }
    if (!result.request.isEmpty())
        sendReadbackRequest(result.request, Timing::readbackReplyMs);
    showBusyState();
    if (result.finished) {
        rxBuffer.clear();
        QMessageBox::information(nullptr, tr("成功"), tr("数据读取完成!"));
    }
}

void MainWindow::showTableEnd(bool now)
{
    // Pages can come faster than anyone can read them: while they do, the table is redrawn at
    // most every tableRedrawMs, and at once when the read ends. The records are in the model as
    // soon as they arrive; only the drawing waits.
    const bool due = !tableRedrawn.isValid() || tableRedrawn.elapsed() >= tableRedrawMs;
    if (!now && !due) {
        ui->tableView->setUpdatesEnabled(false);
        if (!tableRedrawTimer->isActive())
            tableRedrawTimer->start(int(tableRedrawMs - tableRedrawn.elapsed()));
        return;
    }
    tableRedrawTimer->stop();
    ui->tableView->setUpdatesEnabled(true);
    ui->tableView->scrollToBottom();
    tableRedrawn.start();
}

void MainWindow::sendReadbackRequest(const QByteArray &request, int timeoutMs)
{
    serial->sendData(request);
    if (!busy.portOpen)
        return; // a stop after the port went: nothing went out, no answer to wait for
    waitingReply = 1;
    replyTimeoutTimer->start(timeoutMs);
}
