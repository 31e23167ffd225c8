#include "app/mainwindow.h"

void MainWindow::on_pushButtonExcel_clicked()
{
}
