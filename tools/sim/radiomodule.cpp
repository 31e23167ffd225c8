#include "sim/radiomodule.h"

namespace {

constexpr int bandCount = 7;
constexpr int heartbeatCount = 2;
// Appended to the AppKey by the long-key fault: a module that runs on past the 32 digits.
constexpr char appKeyOverrun[] = "A5A5A5A5";

QByteArray acknowledge(const QByteArray &key)
{
    return "OK+" + key + "\r\n";
}

QByteArray valueLine(const QByteArray &key, const QByteArray &value)
{
    return "OK+" + key + ':' + value + "\r\n";
}

QByteArray hexDigits(quint32 value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

// Plain decimal digits below `count`; signs, blanks and other numerals make a malformed set.
bool parseIndex(const QByteArray &text, int count, int &index)
{
    if (text.isEmpty() || text.size() > 3)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    const int value = text.toInt();
    if (value >= count)
        return false;
    index = value;
    return true;
}

} // namespace

QByteArray RadioModule::handleLine(const QByteArray &line)
{
    lines.append(line);
    QByteArray key;
    QByteArray answer;
    // A line that ends in a bare line feed is as malformed as an unknown command.
    if (line.endsWith("\r\n"))
        answer = execute(line.chopped(2), key);
    if (answer.isEmpty())
        answer = "ERROR\r\n";
    return withFaults(key, answer);
}

void RadioModule::setSettings(const ModuleSettings &settings)
{
    current = settings;
    saved = settings;
}

void RadioModule::powerCycle()
{
    current = saved;
    echoOn = false;
    secondChannelNext = false;
}

QByteArray RadioModule::devEui() const
{
    // A locally administered prefix (02): the default claims no maker's block.
    return devEuiText.isEmpty() ? "02000000" + hexDigits(baseAddress, 8) : devEuiText;
}

QByteArray RadioModule::appEui() const
{
    return appEuiText.isEmpty() ? "01000000" + hexDigits(baseAddress, 8) : appEuiText;
}

QByteArray RadioModule::appKey() const
{
    if (!appKeyText.isEmpty())
        return appKeyText;
    // Differs from sensor to sensor and has no repeating pattern, so a host that shows the
    // wrong 32 digits of a longer answer is caught.
    QByteArray key;
    for (int i = 0; i < 16; ++i)
        key.append(char(quint8(baseAddress >> (24 - 8 * (i % 4))) ^ quint8(0x5A + 0x27 * i)));
    return key.toHex().toUpper();
}

QByteArray RadioModule::execute(const QByteArray &text, QByteArray &key)
{
    if (text == "ATE1" || text == "ATE0") {
        key = "E";
        echoOn = text.endsWith('1');
        if (echoOn)
            secondChannelNext = false;
        // Command lines are not echoed, even with echo on: the host reads an answer only when
        // its first byte is 'O', so an echoed command in front would hide every answer.
        return "OK\r\n";
    }
    if (!text.startsWith("AT+"))
        return {};
    const QByteArray command = text.mid(3);
    const int equals = command.indexOf('=');
    if (equals >= 0) {
        key = command.left(equals);
        return set(key, command.mid(equals + 1));
    }
    if (command.endsWith('?')) {
        key = command.chopped(1);
        return query(key);
    }
    key = command;
    return action(key);
}

QByteArray RadioModule::set(const QByteArray &key, const QByteArray &value)
{
    if (key == "BAND") {
        if (!parseIndex(value, bandCount, current.band))
            return {};
    } else if (key == "HEART") {
        if (!parseIndex(value, heartbeatCount, current.heartbeat))
            return {};
    } else if (key == "CHANNEL") {
        (secondChannelNext ? current.channel2 : current.channel1) = value;
        secondChannelNext = !secondChannelNext;
    } else {
        return {}; // the identifiers cannot be written
    }
    return acknowledge(key);
}

QByteArray RadioModule::query(const QByteArray &key) const
{
    if (key == "BAND")
        return valueLine(key, hexDigits(quint32(current.band), 2));
    if (key == "HEART")
        return valueLine(key, hexDigits(quint32(current.heartbeat), 2));
    if (key == "CHANNEL")
        return valueLine(key, current.channel1) + valueLine(key, current.channel2);
    if (key == "DEVEUI")
        return valueLine(key, devEui());
    if (key == "APPEUI")
        return valueLine(key, appEui());
    if (key == "APPKEY")
        return valueLine(key, activeFaults.longAppKey ? appKey() + appKeyOverrun : appKey());
    return {};
}

QByteArray RadioModule::action(const QByteArray &key)
{
    if (key == "SAVE") {
        saved = current;
        return acknowledge(key);
    }
    if (key == "RESET") {
        // The module restarts with its saved settings; the answer leaves before it goes down.
        powerCycle();
        return "OK\r\n";
    }
    if (key == "RENEW") {
        // Factory settings replace the saved ones too: they are what the module comes back with.
        setSettings(ModuleSettings());
        return acknowledge(key);
    }
    return {};
}

QByteArray RadioModule::withFaults(const QByteArray &key, QByteArray answer) const
{
    if (activeFaults.silent || activeFaults.mutedKeys.contains(key))
        return {};
    if (activeFaults.garbled && key.size() >= 2) {
        QByteArray wrong = key;
        const int last = wrong.size() - 1;
        const char c = wrong.at(last);
        wrong[last] = wrong.at(last - 1);
        wrong[last - 1] = c;
        answer.replace("OK+" + key, "OK+" + wrong);
    }
    return answer;
}
