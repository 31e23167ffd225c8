#pragma once

#include "cli/clioptions.h"

#include <QObject>

#include <memory>
#include <vector>

class Output;
class PortCommand;
class PortLink;

/// Runs the command on every port given at once and ends with the worst exit code.
class PortRunner : public QObject {
    Q_OBJECT

public:
    explicit PortRunner(const CliOptions &options, QObject *parent = nullptr);
    ~PortRunner() override;

    /// Opens the ports and starts the commands; the event loop then runs until done().
    void start();
    int exitCode() const { return worst; }

signals:
    void done();

private:
    PortCommand *makeCommand(PortLink &link, Output &out, const QString &port);
    void oneFinished(int exitCode);

    CliOptions options;
    std::vector<std::unique_ptr<Output>> outputs;
    std::vector<PortCommand *> commands;
    int running = 0;
    int worst = 0;
};
