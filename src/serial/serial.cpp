#include "serial/serial.h"

#include "serial/portnames.h"
#include "serial/portpermission.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

PortIdentity identityOf(const QSerialPortInfo &info)
{
    PortIdentity port;
    port.name = info.portName();
    port.location = info.systemLocation();
    port.serialNumber = info.serialNumber();
    port.vendor = info.hasVendorIdentifier() ? info.vendorIdentifier() : 0;
    port.product = info.hasProductIdentifier() ? info.productIdentifier() : 0;
    return port;
}

// A name as typed (short, a full path, or a link such as /dev/serial/by-id/...) with what the
// system knows of the device behind it.
PortIdentity identify(const QString &name)
{
    const QString real = QFileInfo(name).canonicalFilePath();
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.portName() == name || info.systemLocation() == name
            || (!real.isEmpty() && info.systemLocation() == real)) {
            PortIdentity port = identityOf(info);
            port.name = name;
            return port;
        }
    }
    return PortIdentity { name, name, QString(), 0, 0 };
}

} // namespace

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
    opened = identify(name);
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
        } else if (PortPermission::lackingFor(name)) {
            names.append(name); // opening it says which group the account lacks
        }
        port->clearError();
    };
    for (const QString &name : extraPortNames(qEnvironmentVariable("TILTLINK_EXTRA_PORTS")))
        probe(name);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        probe(info.portName());
    return names;
}

QList<PortIdentity> Serial::presentPorts(const QString &path) const
{
    QList<PortIdentity> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports << identityOf(info);
    QStringList paths = extraPortNames(qEnvironmentVariable("TILTLINK_EXTRA_PORTS"));
    paths << path;
    for (const QString &name : paths) {
        if (QFileInfo::exists(name))
            ports << PortIdentity { name, name, QString(), 0, 0 };
    }
    return ports;
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
