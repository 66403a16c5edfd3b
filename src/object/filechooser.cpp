#include "filechooser.h"

#include <QFileDialog>

namespace {

FileChooser *replacement = nullptr;

} // namespace

FileChooser::~FileChooser() = default;

QString FileChooser::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                  const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString FileChooser::existingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
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
