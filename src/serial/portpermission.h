#pragma once

#include <QString>

#include <optional>

/// A serial port this account may not open for want of a group: the device node refuses the
/// account read and write, and lets the group that owns it in.
struct PortPermission {
    QString device; // the node's path
    QString group; // the group that owns the node
    QString user; // this account's login name

    /// For a port that did not open: what the account lacks, when joining the node's group would
    /// let it in; nothing when the port is busy, locked or missing, or on other systems.
    static std::optional<PortPermission> lackingFor(const QString &portName);

    /// `text` with %1 the device, %2 the group and %3 the user.
    QString advice(const QString &text) const { return text.arg(device, group, user); }

    /// The advice as tiltlink-cli prints it, the same as the window's English catalogue has it.
    static QString englishText()
    {
        return QStringLiteral("No permission to open the port %1.\nAdd your account to the group "
                              "%2,\nwhich owns the device, then log out\nand log in "
                              "again:\nsudo usermod -aG %2 %3");
    }
};
