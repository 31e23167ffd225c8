#include "serial/serial.h"

#include "serial/portnames.h"

#include <QSerialPortInfo>

Serial::Serial(QObject *parent)
    : QObject(parent)
    , port(new QSerialPort(this))
{
    connect(port, &QSerialPort::readyRead, this, &Serial::readData);
    connect(port, &QSerialPort::errorOccurred, this, &Serial::onError);
}

// The port is released with the wrapper.
Serial::~Serial()
{
    closePort();
}

bool Serial::openPort(const QString &name, int baud)
{
    port->setPortName(name);
    if (!port->open(QIODevice::ReadWrite)) {
        port->clearError();
        return false;
    }
    lostReported = false;
    port->setBaudRate(baud, QSerialPort::AllDirections);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

void Serial::setBaud(int baud)
{
    port->setBaudRate(baud, QSerialPort::AllDirections);
}

void Serial::closePort()
{
    if (!port->isOpen())
        return;
    port->clear(QSerialPort::AllDirections);
    port->close();
    port->clearError();
}

bool Serial::isOpen() const
{
    return port->isOpen();
}

void Serial::sendData(const QByteArray &bytes)
{
    emit serialshowSignal(bytes);
    // A closed or lost port takes nothing; writing to it would only produce warnings.
    if (!bytes.isEmpty() && port->isOpen())
        port->write(bytes);
}

void Serial::readData()
{
    const QByteArray bytes = port->readAll();
    if (!bytes.isEmpty())
        emit readSignal(bytes);
}

QStringList Serial::listPorts()
{
    QStringList names;
    auto probe = [this, &names](const QString &name) {
        if (names.contains(name))
            return;
        port->setPortName(name);
        if (port->open(QIODevice::ReadWrite)) {
            names.append(name);
            port->close();
        }
        port->clearError();
    };
    for (const QString &name : extraPortNames(qEnvironmentVariable("TILTLINK_EXTRA_PORTS")))
        probe(name);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        probe(info.portName());
    return names;
}

void Serial::onError(QSerialPort::SerialPortError error)
{
    // An adapter pulled out reports a resource error; a pseudo-terminal whose other end
    // closed reports read errors without end. Either way the device is gone.
    const bool lost = error == QSerialPort::ResourceError || error == QSerialPort::ReadError
                      || error == QSerialPort::WriteError;
    if (!lost || !port->isOpen() || lostReported)
        return;
    lostReported = true;
    // Closing inside the port's own error emission is unsafe: close on the next turn of the
    // event loop, before anything else can write to the dead port or the errors spin on.
    QMetaObject::invokeMethod(this, &Serial::closeLostPort, Qt::QueuedConnection);
}

void Serial::closeLostPort()
{
    if (!port->isOpen())
        return;
    port->close();
    port->clearError();
    emit portLostSignal();
}
