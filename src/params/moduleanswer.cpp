#include "params/moduleanswer.h"

#include "protocol/encoding.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

/// Text after the first occurrence of key, skipping `skip` characters, `count` characters long.
QString after(const QString &text, const QString &key, int skip, int count)
{
    return text.mid(text.indexOf(key) + key.size() + skip, count);
}

/// The two characters after key read as a hex number; 0 unless both are hex digits (toInt alone
/// would also take a sign or a blank).
int hexIndexAfter(const QString &text, const QString &key)
{
    const QString digits = after(text, key, 0, 2);
    for (const QChar c : digits)
        if (!Encoding::isHexDigit(c))
            return 0;
    bool ok = false;
    const int value = digits.toInt(&ok, 16);
    return ok && digits.size() == 2 ? value : 0;
}

/// Value after "OK+CHANNEL:" up to the line end (or the text end), and where the line ended.
QString channelValue(const QString &text, int from, int *lineEnd)
{
    const QString key = QStringLiteral("OK+CHANNEL:");
    const int keyAt = text.indexOf(key, from);
    if (keyAt < 0) {
        *lineEnd = -1;
        return QString();
    }
    const int start = keyAt + key.size();
    const int end = text.indexOf(CrLf, start);
    *lineEnd = end;
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

} // namespace

ModuleAnswer parseModuleAnswer(const QByteArray &buffer)
{
    const int zero = buffer.indexOf('\0');
    const QByteArray bytes = zero >= 0 ? buffer.left(zero) : buffer;
    const QString text = QString::fromLatin1(bytes.constData(), bytes.size());
    auto has = [&text](const char *key) { return text.contains(QLatin1String(key)); };

    ModuleAnswer answer;
    if (has("OK+BAND") && !has("OK+BAND:")) {
        answer.kind = ModuleAnswer::BandSet;
    } else if (has("OK+BAND:")) {
        answer.kind = ModuleAnswer::BandQuery;
        answer.index = hexIndexAfter(text, QStringLiteral("OK+BAND:"));
    } else if (has("OK+CHANNEL") && !has("OK+CHANNEL:")) {
        answer.kind = ModuleAnswer::ChannelSet;
    } else if (has("OK+CHANNEL:")) {
        answer.kind = ModuleAnswer::ChannelQuery;
        int lineEnd = -1;
        answer.text = channelValue(text, text.indexOf(QStringLiteral("OK+CHANNEL")), &lineEnd);
        if (lineEnd >= 0)
            answer.text2 = channelValue(text, lineEnd + CrLf.size(), &lineEnd);
    } else if (has("OK+HEART") && !has("OK+HEART:")) {
        answer.kind = ModuleAnswer::HeartSet;
    } else if (has("OK+HEART:")) {
        answer.kind = ModuleAnswer::HeartQuery;
        answer.index = hexIndexAfter(text, QStringLiteral("OK+HEART:"));
    } else if (has("OK+DEVEUI")) {
        answer.kind = ModuleAnswer::DevEui;
        answer.text = after(text, QStringLiteral("OK+DEVEUI"), 1, 16);
    } else if (has("OK+APPEUI")) {
        answer.kind = ModuleAnswer::AppEui;
        answer.text = after(text, QStringLiteral("OK+APPEUI"), 1, 16);
    } else if (has("OK+APPKEY")) {
        answer.kind = ModuleAnswer::AppKey;
        answer.text = after(text, QStringLiteral("OK+APPKEY"), 1, 32);
    } else if (has("OK+SAVE")) {
        answer.kind = ModuleAnswer::Saved;
    } else if (has("OK+RENEW")) {
        answer.kind = ModuleAnswer::Renewed;
    }
    return answer;
}
