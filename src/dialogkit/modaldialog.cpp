#include "modaldialog.h"

#include <QMessageBox>

bool showCriticalBox(QWidget *parent, const QString &title, const QString &text)
{
    ModalDialog<QMessageBox> box(QMessageBox::Critical, title, text, QMessageBox::NoButton, parent);
    box->setDefaultButton(box->addButton(QMessageBox::Ok));
    box.exec();
    return !box.gone();
}
