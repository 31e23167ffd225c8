#include "app/mainwindow.h"

#include "measure/livesample.h"
#include "params/sensorcommands.h"
#include "protocol/protocol.h"
#include "protocol/reply.h"
#include "protocol/replyassembler.h"
#include "protocol/timing.h"
#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QMessageBox>
#include <QTimer>

void MainWindow::readSerialData(const QByteArray &chunk)
{
    replyGapTimer->stop();
    replyTimeoutTimer->stop();
    waitingReply = 0;
    rxBuffer.append(chunk);
    Serial_Show_Recive(chunk);

    // Every complete reply in the buffer is handled; what follows it stays as the start of
    // the next one and is judged by the same rules.
    while (handleReadData()) {
    }
    if (!rxBuffer.isEmpty() && !replyTimeoutTimer->isActive()) {
        if (rxBuffer.at(0) == 'O')
            replyGapTimer->start(Timing::moduleQuietMs);
        else
            replyTimeoutTimer->start(Timing::partialReplyMs);
    } else if (rxBuffer.isEmpty() && readback.awaitingPage() && !replyTimeoutTimer->isActive()) {
        // Stray bytes came instead of the page: it is still awaited, and still timed.
        waitingReply = 1;
        replyTimeoutTimer->start(Timing::readbackReplyMs);
    }
}

bool MainWindow::handleReadData()
{
    // Takes one complete reply off the buffer (an invalid start is cleared) and acts on it.
    const QByteArray bytes = ReplyAssembler::takeReply(rxBuffer);
    if (bytes.isEmpty())
        return false;
    replyTimeoutTimer->stop();
    applyReply(classifyReply(bytes), bytes);
    return true;
}

void MainWindow::applyReply(const Reply &reply, const QByteArray &bytes)
{
    switch (reply.kind) {
    case Reply::Address:
        ui->lineEditAddr->setText(reply.address);
        ui->Edit_Addr->setText(reply.address);
        break;
    case Reply::SetAddressAck:
        showStatus(tr("设置成功！"));
        ui->lineEditAddr->setText(ui->Edit_Addr->text());
        // The sensor answers to its new address from now on: live polling follows it.
        liveAddress = Protocol::parseAddress(ui->Edit_Addr->text());
        break;
    case Reply::BaudAck:
        showStatus(tr("设置成功！"));
        ui->baudComboBox->setCurrentIndex(
            SensorCommands::portBaudIndex(ui->Combo_Baud->currentIndex()));
        serial->setBaud(ui->baudComboBox->currentText().toInt());
        break;
    case Reply::SetAck:
    case Reply::MotionOrSleepAck:
        showStatus(tr("设置成功！"));
        oneKeySensorOkCount = nextAnswerCount(oneKeySensorOkCount);
        break;
    case Reply::DateTime: {
        QLineEdit *fields[] = {ui->lineEdit_y, ui->lineEdit_m,  ui->lineEdit_d,
                               ui->lineEdit_h, ui->lineEdit_mm, ui->lineEdit_s};
        for (int i = 0; i < 6; ++i)
            fields[i]->setText(reply.dateTime.value(i));
        showStatus(tr("查询成功！"));
        break;
    }
    case Reply::SleepQuery:
        ui->Edit_Sleep->setText(reply.sleepText);
        showStatus(tr("查询成功！"));
        break;
    case Reply::ZeroMode:
        ui->Combo_Zero->setCurrentIndex(reply.zeroModeIndex);
        showStatus(tr("查询成功！"));
        break;
    case Reply::ReadbackPage:
    case Reply::ReadbackPageBadCrc:
        handleRecordPage(bytes);
        break;
    case Reply::DeleteAck:
        QMessageBox::information(nullptr, tr("成功"), tr("数据擦除成功!"));
        break;
    case Reply::FirmwareReply:
        handleFirmwareReply(bytes, reply.firmwareInfo);
        break;
    case Reply::LiveData: {
        const LiveSample sample = decodeLiveSample(bytes, dataKind);
        showLiveSample(sample);
        Save_Data_File(sample);
        break;
    }
    default:
        break;
    }
}

void MainWindow::timeoutUpdate()
{
    replyTimeoutTimer->stop();
    if (waitingReply != 1) {
        rxBuffer.clear();
        // A page cut off half-way is lost like one that never came: it is still awaited, and
        // still timed.
        if (readback.awaitingPage()) {
            waitingReply = 1;
            replyTimeoutTimer->start(Timing::readbackReplyMs);
        }
        return;
    }
    if (readback.awaitingPage()) {
        const QByteArray stop = readback.timedOut();
        showBusyState();
        if (!stop.isEmpty())
            sendReadbackRequest(stop, Timing::readbackReplyMs);
    }
    showStatus(tr("信息接收超时!"));
}
