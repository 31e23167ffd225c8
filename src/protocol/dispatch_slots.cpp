#include "app/mainwindow.h"

#include "protocol/protocol.h"
#include "protocol/reply.h"
#include "protocol/replyassembler.h"
#include "serial/serial.h"
#include "ui_mainwindow.h"

#include <QTimer>

void MainWindow::readSerialData()
{
    replyGapTimer->stop();
    replyTimeoutTimer->stop();
    waitingReply = 0;
    const QByteArray chunk = serial->receivedData();
    rxBuffer.append(chunk);
    Serial_Show_Recive(chunk);

    // Every complete reply in the buffer is handled; what follows it stays as the start of
    // the next one and is judged by the same rules.
    while (handleReadData()) {
    }
    if (!rxBuffer.isEmpty() && !replyTimeoutTimer->isActive()) {
        if (rxBuffer.at(0) == 'O')
            replyGapTimer->start(50);
        else
            replyTimeoutTimer->start(500);
    }
    serial->clearData();
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
        protocol->address = ui->lineEditAddr->text();
        break;
    case Reply::BaudAck:
        showStatus(tr("设置成功！"));
        ui->baudComboBox->setCurrentIndex(ui->Combo_Baud->currentIndex() + 2);
        serial->setBaud(ui->baudComboBox->currentText().toInt());
        break;
    case Reply::SetAck:
    case Reply::MotionOrSleepAck:
        showStatus(tr("设置成功！"));
        countSensorAck();
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
    case Reply::LiveData:
        lastReply = bytes;
        showLiveData();
        Save_Data_File();
        break;
    default:
        break;
    }
}

void MainWindow::countSensorAck()
{
    oneKeySensorOkCount = oneKeySensorOkCount >= 10000 ? 0 : oneKeySensorOkCount + 1;
}

void MainWindow::timeoutUpdate()
{
    replyTimeoutTimer->stop();
    if (waitingReply != 1) {
        rxBuffer.clear();
        return;
    }
    if (ui->pushButtonRead->text() == tr("暂停"))
        ui->pushButtonRead->setText(tr("继续"));
    showStatus(tr("信息接收超时!"));
}
