#ifndef SIM_PTYDEVICE_H
#define SIM_PTYDEVICE_H

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;
class SimulatedSensor;

// Puts a SimulatedSensor on a pseudo-terminal (Linux): the program under test opens the slave
// like a serial port; what it writes reaches the sensor and the sensor's replies come back.
// The device keeps a slave descriptor of its own, so the master does not see a hang-up when
// the program closes and reopens the port.
class PtyDevice : public QObject
{
    Q_OBJECT

public:
    explicit PtyDevice(SimulatedSensor *sensor, QObject *parent = nullptr);
    ~PtyDevice() override;
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    /// Opens a fresh pseudo-terminal, and a symbolic link to its slave when linkPath is given.
    bool open(const QString &linkPath = QString());
    bool isOpen() const { return master >= 0; }
    /// Path of the slave device, e.g. /dev/pts/3; empty when not open.
    QString slaveName() const { return slavePath; }
    /// Path of the symbolic link to the slave; empty when there is none.
    QString linkPath() const { return link; }
    /// What went wrong in the last failed open().
    QString errorString() const { return error; }

public slots:
    /// Closes the device: the program sees its port go away; the link is removed.
    void unplug();
    /// Plugs an unplugged device back in: a fresh pseudo-terminal behind the same link.
    bool plugBack();

signals:
    void unplugged();

private:
    void readMaster();
    void write(const QByteArray &bytes);
    void writePending();
    void close();

    SimulatedSensor *sensor;
    int master = -1;
    int ownSlave = -1;
    QSocketNotifier *readNotifier = nullptr;
    QSocketNotifier *writeNotifier = nullptr;
    QByteArray pending;
    QString slavePath;
    QString link;
    QString lastLink; // kept over an unplug for plugBack()
    QString error;
};

#endif // SIM_PTYDEVICE_H
