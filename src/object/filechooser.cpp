#include "filechooser.h"

#include "modaldialog.h"

#include <QFileDialog>

namespace {

FileChooser *replacement = nullptr;

} // namespace

FileChooser::~FileChooser() = default;

// The dialogs of QFileDialog's static functions, built on the heap.

QString FileChooser::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                  const QString &filter)
{
    ModalDialog<QFileDialog> dialog(parent, caption, dir, filter);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setSupportedSchemes({QStringLiteral("file")});
    if (dialog.exec() != QDialog::Accepted || dialog.gone())
        return QString();
    return dialog->selectedFiles().value(0);
}

QString FileChooser::existingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    ModalDialog<QFileDialog> dialog(parent, caption, dir);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setSupportedSchemes({QStringLiteral("file")});
    if (dialog.exec() != QDialog::Accepted || dialog.gone())
        return QString();
    return dialog->selectedFiles().value(0);
}

FileChooser *FileChooser::current()
{
    static FileChooser standard;
    return replacement ? replacement : &standard;
}

void FileChooser::setCurrent(FileChooser *chooser)
{
    replacement = chooser;
}
