#pragma once

#include <QByteArray>

/// The payload cipher of firmware packets: TEA (64-bit blocks, 128-bit key, 32 cycles) with the
/// boot loader's fixed key, on whole 8-byte blocks taken as two little-endian words. Bytes after
/// the last whole block are left as they are.
namespace Tea {

/// The boot loader's key, 16 bytes as stored.
QByteArray firmwareKey();
/// Encrypts every whole 8-byte block of `data` with a 16-byte key.
QByteArray encrypt(QByteArray data, const QByteArray &key = firmwareKey());
/// Decrypts every whole 8-byte block of `data` (what the boot loader does).
QByteArray decrypt(QByteArray data, const QByteArray &key = firmwareKey());

} // namespace Tea
