// tiltlink-ovx: makes a firmware file (".ovx") from a version, an address width, an update
// command and an image, or reads one back, so that tests and the simulator need no outside file.
//
//   tiltlink-ovx --version TEXT --width W --command HEX [--size N | --image FILE] [--seed S] -o OUT
//   tiltlink-ovx --decode IN.ovx [--image-out FILE]
#include "firmware/firmwarefile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <random>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "tiltlink-ovx: %s\n", qPrintable(message));
    return 2;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// std::mt19937's output is fixed for a seed on every platform, so the same seed always gives the
// same image.
QByteArray pseudoRandomImage(int size, quint32 seed)
{
    std::mt19937 generator(seed);
    QByteArray image(size, Qt::Uninitialized);
    for (char &byte : image)
        byte = char(generator() & 0xFF);
    return image;
}

int decode(const QCommandLineParser &parser)
{
    const FirmwareImage firmware = FirmwareFile::load(parser.value("decode"));
    if (firmware.decryptedSize == 0)
        return fail(QStringLiteral("%1: nothing could be decoded").arg(parser.value("decode")));
    std::printf("version: %s\nwidth: %d\ncommand: 0x%02X\nimage: %d bytes\n",
        qPrintable(firmware.version), firmware.addressWidth, firmware.updateCommand,
        int(firmware.image.size()));
    if (parser.isSet("image-out") && !writeFile(parser.value("image-out"), firmware.image))
        return fail(QStringLiteral("cannot write %1").arg(parser.value("image-out")));
    return 0;
}

int make(const QCommandLineParser &parser)
{
    bool widthOk = false, commandOk = false, seedOk = true;
    const int width = parser.value("width").toInt(&widthOk);
    const uint command = parser.value("command").toUInt(&commandOk, 16);
    const quint32 seed = parser.isSet("seed") ? parser.value("seed").toUInt(&seedOk) : 1;
    if (!parser.isSet("version") || !parser.isSet("output"))
        return fail(QStringLiteral("--version and -o are needed (see --help)"));
    if (!widthOk || width < -128 || width > 127)
        return fail(QStringLiteral("--width takes a signed byte, e.g. 1, 2 or 4"));
    if (!commandOk || command > 0xFF)
        return fail(QStringLiteral("--command takes one byte in hex, e.g. 5A"));
    if (!seedOk)
        return fail(QStringLiteral("--seed takes a whole number"));
    if (parser.isSet("size") == parser.isSet("image"))
        return fail(QStringLiteral("give either --size or --image"));

    QByteArray image;
    if (parser.isSet("size")) {
        bool sizeOk = false;
        const int size = parser.value("size").toInt(&sizeOk);
        if (!sizeOk || size < 0 || size > FirmwareFile::largestFile / 2)
            return fail(QStringLiteral("--size takes a byte count up to 8 MiB"));
        image = pseudoRandomImage(size, seed);
    } else {
        QFile file(parser.value("image"));
        if (!file.open(QIODevice::ReadOnly) || file.size() > FirmwareFile::largestFile / 2)
            return fail(QStringLiteral("cannot read %1, or it is over 8 MiB").arg(file.fileName()));
        image = file.readAll();
    }
    const QByteArray text
        = FirmwareFile::encode(parser.value("version"), width, quint8(command), image);
    if (!writeFile(parser.value("output"), text))
        return fail(QStringLiteral("cannot write %1").arg(parser.value("output")));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes a TiltLink firmware file (.ovx), or reads one back."));
    parser.addHelpOption();
    parser.addOptions({
        { "version", "Version text of the header (up to 50 bytes).", "text" },
        { "width", "Address width W of the header: 1, 2 or 4.", "W" },
        { "command", "Update command code of the header, in hex.", "hex" },
        { "size", "Make a pseudo-random image of N bytes.", "N" },
        { "image", "Take the image from a file.", "file" },
        { "seed", "Seed of the pseudo-random image (1).", "S" },
        { { "o", "output" }, "The firmware file to write.", "file" },
        { "decode", "Print the header and image size of a firmware file.", "file" },
        { "image-out", "With --decode, write the image to a file.", "file" },
    });
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText());
    if (parser.isSet("help"))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments()[0]));
    return parser.isSet("decode") ? decode(parser) : make(parser);
}
