#pragma once

#include "cli/clioptions.h"
#include "cli/portcommand.h"

#include <QTimer>

/// `live`: polls the live readings at a steady rate and prints one CSV line (or JSON object)
/// per answer, until the count or the time is up or Ctrl-C.
class LiveCommand : public PortCommand {
    Q_OBJECT

public:
    LiveCommand(PortLink &link, Output &out, std::optional<quint32> address, const LivePlan &plan,
        QObject *parent = nullptr);

    void interrupt() override;

protected:
    void begin() override;
    bool take(const QByteArray &bytes, const Reply &reply) override;
    void noAnswer() override;
    int wrapUp(int exitCode) override;

private:
    void poll();

    LivePlan plan;
    int taken = 0;
    QTimer pollTimer;
};
