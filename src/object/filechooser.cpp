#include "filechooser.h"

#include "modaldialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace {

FileChooser *replacement = nullptr;

// Qt's own size (about 630 x 415) cuts the columns of the detail view, which
// need some 850 pixels with the sidebar: take two thirds of the screen, within
// reasonable bounds and never beyond it.
void fitToScreen(QFileDialog *dialog, QWidget *parent)
{
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize available = screen->availableGeometry().size();
    const QSize wanted =
        (available * 2 / 3).expandedTo(QSize(900, 560)).boundedTo(QSize(1200, 800));
    dialog->resize(wanted.boundedTo(available));
}

// The folder itself, else the nearest existing folder above the path: given a
// file, Qt's dialog would put its name in the name field, where a folder
// chooser then refuses it.
QString folderOf(const QString &path)
{
    if (path.isEmpty())
        return path;
    QFileInfo info(path);
    while (!info.isDir()) {
        const QString above = info.absolutePath();
        if (above == info.absoluteFilePath())
            break;
        info.setFile(above);
    }
    return info.absoluteFilePath();
}

} // namespace

FileChooser::~FileChooser() = default;

// The dialogs of QFileDialog's static functions, built on the heap.

QString FileChooser::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                  const QString &filter)
{
    ModalDialog<QFileDialog> dialog(parent, caption, dir, filter);
    fitToScreen(dialog.get(), parent);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setSupportedSchemes({QStringLiteral("file")});
    if (dialog.exec() != QDialog::Accepted || dialog.gone())
        return QString();
    return dialog->selectedFiles().value(0);
}

QString FileChooser::existingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    ModalDialog<QFileDialog> dialog(parent, caption, folderOf(dir));
    fitToScreen(dialog.get(), parent);
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
