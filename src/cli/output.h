#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

/// Where one port's command writes: results on stdout, messages and progress on stderr, each
/// line led by the port's name when several ports run at once.
class Output {
public:
    Output(const QString &port, bool prefixed, bool json = false);

    /// One line of results.
    void result(const QString &line);
    /// A command's outcome: `lines` as text, or with --json `values` and the port as one line.
    void outcome(QJsonObject values, const QStringList &lines);
    /// One line for the person watching.
    void message(const QString &line);
    /// Progress: rewritten in place on a terminal, a plain line otherwise.
    void progress(const QString &line);

private:
    void endProgress();

    QString name;
    QString prefix;
    bool json;
    bool terminal;
    bool progressShown = false;
};
