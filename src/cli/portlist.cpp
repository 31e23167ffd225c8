#include "cli/portlist.h"

#include "cli/exitcode.h"
#include "cli/output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPortInfo>

int listPorts(bool json)
{
    Output out(QString(), false);
    QJsonArray list;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString vendor = info.hasVendorIdentifier()
            ? QString("%1").arg(info.vendorIdentifier(), 4, 16, QChar('0'))
            : QString();
        const QString product = info.hasProductIdentifier()
            ? QString("%1").arg(info.productIdentifier(), 4, 16, QChar('0'))
            : QString();
        if (json) {
            list.append(
                QJsonObject { { "name", info.portName() }, { "description", info.description() },
                    { "vendorId", vendor.isEmpty() ? QJsonValue() : QJsonValue(vendor) },
                    { "productId", product.isEmpty() ? QJsonValue() : QJsonValue(product) } });
        } else {
            const QString ids = vendor.isEmpty() ? QString() : ' ' + vendor + ':' + product;
            out.result(QString("%1\t%2%3").arg(info.portName(), info.description(), ids));
        }
    }
    if (json)
        out.result(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)));
    return ExitCode::Done;
}
