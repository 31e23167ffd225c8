#include "firmware/firmwareversion.h"

#include <QStringList>

namespace FirmwareVersion {

int compare(const QString &a, const QString &b)
{
    if (a == b)
        return 0;
    const QStringList left = a.split(QLatin1Char('.'));
    const QStringList right = b.split(QLatin1Char('.'));
    for (int i = 0; i < qMin(left.size(), right.size()); ++i) {
        bool leftOk = false;
        bool rightOk = false;
        const int l = left.at(i).toInt(&leftOk);
        const int r = right.at(i).toInt(&rightOk);
        if (!leftOk || !rightOk)
            return -2;
        if (l != r)
            return l > r ? 1 : -1;
    }
    return 0;
}

Verdict judge(const QString &device, const QString &file)
{
    // The model is everything before the second '#' of the file's text (all of it without one).
    const int first = file.indexOf(QLatin1Char('#'));
    const int second = file.mid(first + 1).indexOf(QLatin1Char('#'));
    const int modelLength = first + 1 + second;
    if (QString::localeAwareCompare(device.left(modelLength), file.left(modelLength)) != 0)
        return Verdict::ModelMismatch;
    // The number is in the last five characters, after a 'V' if there is one.
    const auto number = [](const QString &text) {
        const QString tail = text.right(5);
        return tail.mid(tail.indexOf(QLatin1Char('V')) + 1);
    };
    switch (compare(number(device), number(file))) {
    case -2:
        return Verdict::FormatError;
    case 1:
        return Verdict::DeviceNewer;
    default:
        return Verdict::Accept;
    }
}

QString fromLoaderReply(const QByteArray &reply)
{
    QByteArray text = reply.mid(2, 50);
    const int end = text.indexOf('\0');
    if (end >= 0)
        text.truncate(end);
    return QString::fromUtf8(text);
}

} // namespace FirmwareVersion
