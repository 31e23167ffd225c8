#include "cli/output.h"

#include <QJsonDocument>

#include <cstdio>
#include <unistd.h>

Output::Output(const QString &port, bool prefixed, bool json)
    : name(port)
    , prefix(prefixed ? port + ": " : QString())
    , json(json)
    , terminal(isatty(STDERR_FILENO))
{
}

void Output::result(const QString &line)
{
    endProgress();
    std::fputs(qUtf8Printable(prefix + line + '\n'), stdout);
    std::fflush(stdout);
}

void Output::outcome(QJsonObject values, const QStringList &lines)
{
    if (!json) {
        for (const QString &line : lines)
            result(line);
        return;
    }
    // The object names its port: no prefix, so every line stays valid JSON.
    values["port"] = name;
    endProgress();
    std::fputs(QJsonDocument(values).toJson(QJsonDocument::Compact).append('\n'), stdout);
    std::fflush(stdout);
}

void Output::message(const QString &line)
{
    endProgress();
    std::fputs(qUtf8Printable(prefix + line + '\n'), stderr);
}

void Output::progress(const QString &line)
{
    if (!terminal) {
        message(line);
        return;
    }
    // "\033[K" clears what a longer earlier line left.
    std::fputs(qUtf8Printable('\r' + prefix + line + "\033[K"), stderr);
    progressShown = true;
}

void Output::endProgress()
{
    if (progressShown)
        std::fputs("\n", stderr);
    progressShown = false;
}
