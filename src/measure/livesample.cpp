#include "measure/livesample.h"

#include "protocol/encoding.h"

namespace {

constexpr int angleOffset = 7; // X, Y, Z angles, 4 bytes each
constexpr int accelerationOffset = 19; // X, Y, Z accelerations, 4 bytes each
constexpr int temperatureOffset = 31;
constexpr int powerOffset = 34;

} // namespace

LiveSample decodeLiveSample(const QByteArray &reply, int dataKind)
{
    LiveSample sample {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), {}, {}};
    if (dataKind == AngleKind || dataKind == AccelerationKind) {
        const bool angles = dataKind == AngleKind;
        const int offset = angles ? angleOffset : accelerationOffset;
        const Encoding::BcdField field = angles ? Encoding::Angle : Encoding::Acceleration;
        sample.x = Encoding::formatSignedBcd(reply, offset, field);
        sample.y = Encoding::formatSignedBcd(reply, offset + 4, field);
        sample.z = Encoding::formatSignedBcd(reply, offset + 8, field);
    }
    sample.temperature = reply.size() > temperatureOffset
        ? Encoding::formatSignedBcd(reply, temperatureOffset, Encoding::Temperature)
        : QStringLiteral("0.00");
    const int power = reply.size() > powerOffset ? quint8(reply.at(powerOffset)) : 0;
    sample.power = QString::number(power);
    return sample;
}

QString recordLine(const QDateTime &when, const LiveSample &sample)
{
    const QString gap = QStringLiteral("  ");
    return when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz  ")) + sample.x + gap + sample.y
        + gap + sample.z + gap + sample.temperature + gap + sample.power + QLatin1Char('\n');
}

QString recordFilePath(const QString &folder)
{
    if (folder.isEmpty())
        return QString();
    return folder + QStringLiteral("/Orvex_Record.txt");
}
