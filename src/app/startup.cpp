#include "app/startup.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTranslator>

void initTiltResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(translations);
}

QString languageKey()
{
    return QStringLiteral("Language");
}

QTranslator *installStartupTranslator(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    QSettings store(QStringLiteral("IAP"), QStringLiteral("update"));
    const bool english = store.value(languageKey(), QStringLiteral("CN")).toString()
                         == QLatin1String("EN");
    // A failed load leaves an empty translator: the Chinese source texts show.
    (void)translator->load(english ? QStringLiteral(":/tr_en.qm") : QStringLiteral(":/tr_zh.qm"));
    app.installTranslator(translator);
    return translator;
}

void applyStyleSheet(QApplication &app)
{
    QFile file(QStringLiteral(":/qdarkgraystyle/style.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    app.setStyleSheet(QString::fromUtf8(file.readAll()));
}
