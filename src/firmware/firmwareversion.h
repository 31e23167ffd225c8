#pragma once

#include <QByteArray>
#include <QString>

/// Comparing the sensor's firmware version with a file's before an upgrade. Version texts look
/// like "AB#CD#V1.0.3": a model part up to the second '#', and a dotted number at the end.
namespace FirmwareVersion {

/// Dotted decimal numbers compared part by part over the shorter list: 1 when `a` is higher, -1
/// when lower, 0 when equal, -2 when a compared part is not a number.
int compare(const QString &a, const QString &b);

enum class Verdict { Accept, ModelMismatch, FormatError, DeviceNewer };

/// Whether a file's version may go onto a device reporting `device`.
Verdict judge(const QString &device, const QString &file);

/// The version text of a boot-loader reply 5A 81: up to 50 bytes after the code, ended by 0x00.
QString fromLoaderReply(const QByteArray &reply);

} // namespace FirmwareVersion
