#include "sim/livereadings.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

double wave(qint64 msecs, double periodSeconds, double phase = 0)
{
    return std::sin(2 * M_PI * double(msecs) / (periodSeconds * 1000) + phase);
}

} // namespace

LiveReadings LiveReadings::wandering(qint64 msecs)
{
    // Two tilts wander around a small offset; the accelerations are the gravity vector seen by
    // a sensor tilted that way, and the Z angle is the total tilt from the vertical.
    const double tiltX = 1.2 + 2.5 * wave(msecs, 40) + 0.2 * wave(msecs, 7);
    const double tiltY = -1.8 + 2.0 * wave(msecs, 55, 1.0) + 0.15 * wave(msecs, 9);
    LiveReadings r;
    r.accelerationX = std::sin(qDegreesToRadians(tiltX));
    r.accelerationY = std::sin(qDegreesToRadians(tiltY));
    r.accelerationZ = std::sqrt(std::max(0.0,
        1 - r.accelerationX * r.accelerationX - r.accelerationY * r.accelerationY));
    r.angleX = tiltX;
    r.angleY = tiltY;
    r.angleZ = qRadiansToDegrees(std::acos(r.accelerationZ));
    r.temperature = 24.5 + 1.2 * wave(msecs, 600);
    r.power = 95 + int(std::lround(4 * wave(msecs, 900)));
    return r;
}

QByteArray LiveReadings::encode() const
{
    QByteArray data;
    for (double angle : {angleX, angleY, angleZ})
        data += signedBcd(angle, 4, 4);
    for (double acceleration : {accelerationX, accelerationY, accelerationZ})
        data += signedBcd(acceleration, 6, 4);
    data += signedBcd(temperature, 2, 3);
    data += char(quint8(power));
    return data;
}

QByteArray LiveReadings::signedBcd(double value, int decimals, int bytes)
{
    const int digits = 2 * bytes - 1;
    const qint64 largest = qint64(std::pow(10.0, digits)) - 1;
    qint64 scaled = std::min(largest, qint64(std::llround(std::fabs(value)
                                                          * std::pow(10.0, decimals))));
    QByteArray out(bytes, '\0');
    if (value < 0 && scaled != 0)
        out[0] = 0x10;
    // Nibble 0 is the sign; digit i from the right sits in nibble 2 * bytes - 1 - i.
    for (int i = 0; i < digits; ++i, scaled /= 10) {
        const int nibble = 2 * bytes - 1 - i;
        const int digit = int(scaled % 10);
        out[nibble / 2] = char(out.at(nibble / 2) | (nibble % 2 ? digit : digit << 4));
    }
    return out;
}
