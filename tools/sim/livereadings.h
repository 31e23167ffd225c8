#ifndef SIM_LIVEREADINGS_H
#define SIM_LIVEREADINGS_H

#include <QByteArray>
#include <QtGlobal>

// One set of live readings as the sensor reports them in its live-data reply.
class LiveReadings
{
public:
    double angleX = 0; // degrees
    double angleY = 0;
    double angleZ = 0;
    double accelerationX = 0; // g
    double accelerationY = 0;
    double accelerationZ = 0;
    double temperature = 0; // degrees Celsius
    int power = 0; // 0..255

    /// Readings of a sensor that sways slowly by a few degrees, msecs after it woke up.
    static LiveReadings wandering(qint64 msecs);
    /// The 28 data bytes of a live-data reply: 3 angles, 3 accelerations, temperature, power.
    QByteArray encode() const;
    /// Signed BCD in `bytes` bytes: sign nibble, then 2 * bytes - 1 digits, `decimals` of them
    /// after the point. Magnitudes too large for the digits are clamped to all nines.
    static QByteArray signedBcd(double value, int decimals, int bytes);
};

#endif // SIM_LIVEREADINGS_H
