#pragma once

#include "cli/stepcommand.h"

/// `module-ids`: DevEUI, JoinEUI (AppEUI) and AppKey, as a row for a network server's bulk
/// import or as JSON, on standard output and, when asked, appended to a file.
class ModuleIdsCommand : public StepCommand {
    Q_OBJECT

public:
    ModuleIdsCommand(PortLink &link, Output &out, std::optional<quint32> address, bool json,
        const QString &appendTo, QObject *parent = nullptr);

    /// The header line of the semicolon-separated import format.
    static QString csvHeader();

protected:
    void plan() override;
    void complete() override;

private:
    QString devEui, joinEui, appKey;
    bool json;
    QString appendTo;
};
