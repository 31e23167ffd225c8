#pragma once

#include "firmware/firmwareimage.h"

#include <QByteArray>
#include <QString>

/// Firmware files (".ovx"): Base64 text of AES-128-CBC cipher text whose plain text is a
/// 96-byte header followed by the image. Bytes 0-49 of the header hold the version text, byte 51
/// the address width and byte 52 the update command; the other bytes are not read.
namespace FirmwareFile {

constexpr qint64 largestFile = 16 * 1024 * 1024; // no firmware comes near it
constexpr int headerLength = 96;

/// Decodes the file's text (Base64, AES-128-CBC, header).
FirmwareImage decode(const QByteArray &fileText);
/// Reads and decodes a file; a file that cannot be read, or is larger than largestFile (checked
/// before reading), gives an empty image.
FirmwareImage load(const QString &path);
/// The file text for an image: the header (version, W, command; other bytes 0) and the image,
/// zero-padded to whole 16-byte blocks, encrypted and Base64-encoded.
QByteArray encode(
    const QString &version, int addressWidth, quint8 updateCommand, const QByteArray &image);
/// The address typed by default for a width: "01", "0001", "00000001", or "" for any other width.
QString defaultAddress(int width);

} // namespace FirmwareFile
