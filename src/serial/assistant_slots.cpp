#include "app/mainwindow.h"

#include "serial/serial.h"
#include "serial/terminaltext.h"
#include "ui_mainwindow.h"

#include <QTextBlock>
#include <QTextCursor>

void MainWindow::Serial_Show(QByteArray bytes)
{
    if (ui->checkBox_active->isChecked())
        appendPlainLine(ui->text_Serial, TerminalText::sentLine(QTime::currentTime(), bytes,
                                                  ui->checkBox_hexshow->isChecked()));
}

void MainWindow::Serial_Show_Recive(QByteArray rec)
{
    if (ui->checkBox_active->isChecked())
        appendPlainLine(ui->text_Serial, TerminalText::receivedLine(QTime::currentTime(), rec,
                                                      ui->checkBox_hexshow->isChecked()));
}

void MainWindow::appendPlainLine(QTextEdit *view, const QString &line)
{
    // Device bytes and file contents are shown as plain text: markup in them is not rendered.
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    if (!view->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(line);
    view->setTextCursor(cursor);
    view->ensureCursorVisible();
}

void MainWindow::on_pushButton_Send_clicked()
{
    if (!ui->checkBox_active->isChecked())
        return;
    const QString text = ui->lineEdit_Serial->text();
    QByteArray bytes = ui->checkBox_hexsend->isChecked() ? TerminalText::parseHexSend(text)
                                                         : TerminalText::textToSend(text);
    if (ui->checkBox_enter->isChecked())
        bytes.append("\r\n");
    showStatus(tr("发送数据"));
    serial->sendData(bytes);
}

void MainWindow::on_pushButton_clear_clicked()
{
    showStatus(tr("清空串口数据"));
    ui->text_Serial->clear();
}
