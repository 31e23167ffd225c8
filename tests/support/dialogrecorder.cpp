#include "dialogrecorder.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QDialog>

DialogRecorder::DialogRecorder(QMessageBox::StandardButton answer)
    : reply(answer)
{
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, this, &DialogRecorder::poll);
    timer.start();
}

void DialogRecorder::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    auto *box = qobject_cast<QMessageBox *>(modal);
    if (!box) {
        if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            ++others;
            dialog->reject();
        }
        return;
    }
    if (box->property("tiltRecorded").toBool())
        return;
    box->setProperty("tiltRecorded", true);
    RecordedBox seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.buttons = box->standardButtons();
    seen.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton())
                                              : QMessageBox::NoButton;
    recorded.append(seen);

    QAbstractButton *press = reply != QMessageBox::NoButton ? box->button(reply) : nullptr;
    if (!press)
        press = box->defaultButton();
    if (!press)
        press = box->escapeButton();
    if (press)
        QMetaObject::invokeMethod(press, &QAbstractButton::click, Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
}
