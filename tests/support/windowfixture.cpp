#include "windowfixture.h"

#include "app/startup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QSettings>
#include <QTest>
#include <QTranslator>

void useTemporarySettings(const QString &dir)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
}

void storeLanguage(const QString &value)
{
    QSettings store(QStringLiteral("IAP"), QStringLiteral("update"));
    if (value.isEmpty())
        store.remove(QStringLiteral("Language"));
    else
        store.setValue(QStringLiteral("Language"), value);
    store.sync();
}

QString storedLanguage()
{
    QSettings store(QStringLiteral("IAP"), QStringLiteral("update"));
    return store.value(QStringLiteral("Language")).toString();
}

static QList<QTranslator *> &installed()
{
    static QList<QTranslator *> list;
    return list;
}

void startLikeMain(QApplication &app)
{
    initTiltResources();
    installed().append(installStartupTranslator(app));
    applyStyleSheet(app);
}

void removeAllTranslators(QApplication &app)
{
    for (QTranslator *translator : app.findChildren<QTranslator *>())
        app.removeTranslator(translator);
    for (QTranslator *translator : installed()) {
        app.removeTranslator(translator);
        delete translator;
    }
    installed().clear();
}

bool clickNamed(QWidget *root, const char *name)
{
    auto *button = widget<QAbstractButton>(root, name);
    if (!button)
        return false;
    button->click();
    return true;
}

void openPortNamed(QWidget *window, const QString &portName, const QString &baud)
{
    auto *ports = widget<QComboBox>(window, "portComboBox");
    ports->setCurrentText(portName);
    widget<QComboBox>(window, "baudComboBox")->setCurrentText(baud);
    clickNamed(window, "openPortButton");
}
