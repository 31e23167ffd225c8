#pragma once

#include "params/moduleanswer.h"
#include "protocol/reply.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QTimer>

/// One open serial port: bytes out as given, bytes in cut into whole replies by the core's
/// reassembly rules and classified, each handed on as it completes.
class PortLink : public QObject {
    Q_OBJECT

public:
    explicit PortLink(QObject *parent = nullptr);

    /// Opens `name` at `baud`, 8N1 without flow control; false with errorString() when it fails.
    bool open(const QString &name, qint32 baud);
    QString errorString() const { return port.errorString(); }
    void send(const QByteArray &bytes);
    /// Changes the rate of the open port (the sensor acknowledged a new one).
    bool setBaud(qint32 baud) { return port.setBaudRate(baud); }
    /// Hands what is still buffered to the system and closes the port.
    void close();

signals:
    /// Bytes came, whole replies or not: the line is alive.
    void received();
    void replied(const QByteArray &bytes, const Reply &reply);
    /// The radio module's text, once the line has been quiet for the module's gap.
    void moduleAnswered(const ModuleAnswer &answer);
    /// The port went away (unplugged, or an error that ends its use).
    void lost(const QString &why);

private:
    void readAvailable();

    QSerialPort port;
    QByteArray rxBuffer;
    QTimer partialTimer; // drops a reply cut off half-way
    QTimer moduleGapTimer; // ends a radio-module answer
};
