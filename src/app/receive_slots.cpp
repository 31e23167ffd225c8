#include "app/mainwindow.h"

#include "serial/serial.h"

#include <QTimer>

void MainWindow::readSerialData()
{
    const QByteArray chunk = serial->receivedData();
    rxBuffer.append(chunk);
    Serial_Show_Recive(chunk);
    serial->clearData();
}
