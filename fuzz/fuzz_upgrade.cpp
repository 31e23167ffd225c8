// The upgrade conversation fed a script of ticks and boot-loader replies: raw ones, and
// acknowledgements of a chosen packet with a chosen status, so that the fuzzer reaches the end.
#include "fuzzinput.h"

#include "firmware/firmwareupgrade.h"
#include "firmware/firmwareversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    FirmwareUpgrade upgrade;
    FirmwareUpgrade::Target target;
    const int widths[] = { 1, 2, 4 };
    target.addressWidth = widths[input.byte() % 3];
    target.updateCommand = input.byte();
    target.address = quint32(input.byte()) << 24 | input.byte();
    const int length = 1 + (input.byte() << 8 | input.byte()) % 5000;
    target.image = QByteArray(length, char(input.byte()));
    upgrade.start(target);
    const int packets = upgrade.packetCount();
    FUZZ_CHECK(packets == (length + 1023) / 1024);
    for (int step = 0; step < 2000 && !input.atEnd(); ++step) {
        const quint8 op = input.byte();
        if (op % 4 == 0) {
            QByteArray reply = input.chunk();
            upgrade.takeReply(reply);
            FirmwareVersion::fromLoaderReply(reply);
        } else if (op % 4 == 1) {
            // 5A 82, packet index, status, and four bytes where the CRC would be.
            const int index = input.byte() % (packets + 1);
            QByteArray reply = QByteArray::fromHex("5a82");
            reply.append(char(index >> 8)).append(char(index)).append(char(input.byte() % 4));
            upgrade.takeReply(reply + QByteArray(4, '\0'));
        } else if (op % 4 == 2) {
            upgrade.takeReply(QByteArray::fromHex("5a81") + input.chunk());
        } else {
            const bool wasRunning = upgrade.running();
            const FirmwareUpgrade::Tick tick = upgrade.tick();
            FUZZ_CHECK(tick.send.isEmpty() || quint8(tick.send.at(0)) == 0x77
                || quint8(tick.send.at(0)) == 0x5A);
            FUZZ_CHECK(tick.percent >= 0 && tick.percent <= 100);
            FUZZ_CHECK(wasRunning || tick.send.isEmpty());
            FUZZ_CHECK((tick.nextMs > 0) == upgrade.running());
        }
        if (op == 0xFF)
            upgrade.cancel();
    }
    upgrade.abortFrame();
    return 0;
}
