#pragma once

#include <QString>
#include <QWidget>

class MainWindow;
class QApplication;

/// Redirects the per-user settings store (language choice) into dir.
void useTemporarySettings(const QString &dir);

/// Stores a language choice ("EN", "CN" or empty for none) in the redirected store.
void storeLanguage(const QString &value);
QString storedLanguage();

/// Runs the program's start-up steps (resources, start-up translator, style sheet).
void startLikeMain(QApplication &app);
/// Removes every translator installed by startLikeMain or by language switches.
void removeAllTranslators(QApplication &app);

/// The child widget with this object name, or nullptr.
template <class T>
T *widget(QWidget *root, const char *name)
{
    return root->findChild<T *>(QString::fromLatin1(name));
}

/// Clicks a button-like widget by object name; false when there is no such visible widget.
bool clickNamed(QWidget *root, const char *name);

/// Types a port name into the port box and clicks Open.
void openPortNamed(QWidget *window, const QString &portName, const QString &baud = "115200");
