#pragma once

#include <QString>

/// Where one port's command writes: results on stdout, messages and progress on stderr, each
/// line led by the port's name when several ports run at once.
class Output {
public:
    Output(const QString &port, bool prefixed);

    /// One line of results.
    void result(const QString &line);
    /// One line for the person watching.
    void message(const QString &line);
    /// Progress: rewritten in place on a terminal, a plain line otherwise.
    void progress(const QString &line);
    QString port() const { return name; }

private:
    void endProgress();

    QString name;
    QString prefix;
    bool terminal;
    bool progressShown = false;
};
