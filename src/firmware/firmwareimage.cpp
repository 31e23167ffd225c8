#include "firmware/firmwareimage.h"

int FirmwareImage::packetCount() const
{
    return (image.size() + packetSize - 1) / packetSize;
}

int FirmwareImage::fullPackets() const
{
    return image.size() / packetSize;
}

int FirmwareImage::lastPacketLength() const
{
    return image.size() % packetSize;
}

bool FirmwareImage::usable() const
{
    // Any other width would make an update request the boot loader cannot parse.
    return (addressWidth == 1 || addressWidth == 2 || addressWidth == 4) && !image.isEmpty();
}
