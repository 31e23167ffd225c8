#pragma once

#include "serial/portwatch.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QStringList>

/// The one link to the sensor and its radio module: fixes the line settings, hands every
/// received block to the window and announces every block before it is written.
class Serial : public QObject
{
    Q_OBJECT

public:
    explicit Serial(QObject *parent = nullptr);
    ~Serial() override;

    bool openPort(const QString &name, int baud);
    void setBaud(int baud);
    void closePort();
    bool isOpen() const;
    void sendData(const QByteArray &bytes);
    QStringList listPorts();
    /// The port opened last, as it was when it opened (a lost adapter can no longer be asked).
    PortIdentity openedPort() const { return opened; }
    /// The line speed the port was opened or set at last.
    int baud() const { return port->baudRate(); }
    /// The ports present now: every one the system lists, and of the extra names and `path`
    /// those that exist.
    QList<PortIdentity> presentPorts(const QString &path) const;

signals:
    /// Bytes that arrived from the device, as they came.
    void readSignal(const QByteArray &bytes);
    void serialshowSignal(QByteArray bytes);
    /// The device behind the open port went away (adapter pulled, other end closed); the port
    /// has been closed.
    void portLostSignal();

private slots:
    void readData();
    void onError(QSerialPort::SerialPortError error);
    void closeLostPort();

private:
    QSerialPort *port;
    bool lostReported = false;
    PortIdentity opened;
};
