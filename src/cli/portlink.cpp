#include "cli/portlink.h"

#include "protocol/replyassembler.h"
#include "protocol/timing.h"

PortLink::PortLink(QObject *parent)
    : QObject(parent)
{
    partialTimer.setSingleShot(true);
    connect(&partialTimer, &QTimer::timeout, this, [this] { rxBuffer.clear(); });
    moduleGapTimer.setSingleShot(true);
    connect(&moduleGapTimer, &QTimer::timeout, this, [this] {
        const ModuleAnswer answer = parseModuleAnswer(rxBuffer);
        rxBuffer.clear();
        emit moduleAnswered(answer);
    });
    connect(&port, &QSerialPort::readyRead, this, &PortLink::readAvailable);
    connect(&port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // A failed open reports here too: its error stays for open()'s caller to tell.
        if (port.isOpen()
            && (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError)) {
            const QString why = port.errorString();
            port.close();
            emit lost(why);
        }
    });
}

bool PortLink::open(const QString &name, qint32 baud)
{
    port.setPortName(name);
    port.setBaudRate(baud);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return port.open(QIODevice::ReadWrite);
}

void PortLink::send(const QByteArray &bytes)
{
    if (port.isOpen())
        port.write(bytes);
}

void PortLink::close()
{
    if (!port.isOpen())
        return;
    port.flush();
    port.close();
}

void PortLink::readAvailable()
{
    partialTimer.stop();
    moduleGapTimer.stop();
    rxBuffer.append(port.readAll());
    emit received();
    QByteArray reply;
    while (!(reply = ReplyAssembler::takeReply(rxBuffer)).isEmpty())
        emit replied(reply, classifyReply(reply));
    // Module text has no length of its own: it ends when the line goes quiet.
    if (ReplyAssembler::check(rxBuffer).kind == ReplyAssembler::ModuleText)
        moduleGapTimer.start(Timing::moduleQuietMs);
    else if (!rxBuffer.isEmpty())
        partialTimer.start(Timing::partialReplyMs);
}
