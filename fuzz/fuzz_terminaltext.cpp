// The terminal tab: a typed hex-send or text-send line, and the log lines of any block.
#include "fuzzinput.h"

#include "serial/terminaltext.h"

#include <QTime>

namespace {

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QByteArray raw = input.rest();
    const QString typed = QString::fromUtf8(raw);
    const QByteArray bytes = TerminalText::parseHexSend(typed);
    // Groups of two characters after blanks: a byte that is not 0 came from hex digits alone,
    // or one digit before a blank.
    int group = 0;
    for (int i = 0; i < typed.size(); ++group) {
        while (i < typed.size() && typed.at(i) == QLatin1Char(' '))
            ++i;
        if (i == typed.size())
            break;
        const QString text = typed.mid(i, 2);
        i += text.size();
        FUZZ_CHECK(group < bytes.size());
        if (bytes.at(group) != 0)
            FUZZ_CHECK(isHexDigit(text.at(0))
                && (text.size() == 1 || isHexDigit(text.at(1)) || text.at(1) == QLatin1Char(' ')));
    }
    FUZZ_CHECK(group == bytes.size());
    const QByteArray sent = TerminalText::textToSend(typed);
    FUZZ_CHECK(!sent.contains('\0'));
    const QTime time(12, 34, 56, 789);
    for (bool hex : { false, true }) {
        TerminalText::sentLine(time, raw, hex);
        TerminalText::receivedLine(time, raw, hex);
    }
    return 0;
}
