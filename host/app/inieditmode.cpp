#include "inieditmode.h"

#include "editorbridge.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextStream>

namespace {

// editIniFile returns nothing: the outcome is read from the dialog itself,
// which the host knows only by its object name.
class EditorWatcher : public QObject
{
public:
    bool seen() const { return m_seen; }
    int result() const { return m_result; }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show
            && watched->objectName() == QLatin1String("SettingsEditDlg")) {
            if (auto *dialog = qobject_cast<QDialog *>(watched)) {
                if (!m_dialogs.contains(dialog)) {
                    m_dialogs.append(dialog);
                    m_seen = true;
                    connect(dialog, &QDialog::finished, this,
                            [this](int code) { m_result = code; });
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<QPointer<QDialog>> m_dialogs;
    bool m_seen = false;
    int m_result = QDialog::Rejected;
};

} // namespace

QString IniEditMode::pathProblem(const QString &fileName)
{
    const QFileInfo info(fileName);
    QString cause;
    if (info.isDir()) {
        cause = QApplication::translate("main", "it is a folder");
    } else if (info.exists()) {
        // A pipe or a device would hold the editor up, or never be written.
        QFile file(info.absoluteFilePath());
        if (!info.isFile())
            cause = QApplication::translate("main", "it is not a regular file");
        else if (!file.open(QIODevice::ReadOnly))
            cause = file.errorString();
    } else {
        const QFileInfo folder(info.absolutePath());
        if (!folder.exists())
            cause = QApplication::translate("main", "the folder %1 does not exist")
                        .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
        else if (!folder.isDir())
            cause = QApplication::translate("main", "%1 is not a folder")
                        .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    }
    if (cause.isEmpty())
        return QString();
    return QApplication::translate("main", "editor2-host: cannot edit %1: %2")
        .arg(QDir::toNativeSeparators(info.absoluteFilePath()), cause);
}

int IniEditMode::run(const QString &fileName)
{
    QTextStream err(stderr);
    if (fileName.isEmpty()) {
        err << QApplication::translate("main", "editor2-host: --edit-ini needs a file name")
            << Qt::endl;
        return NoEditor;
    }
    const QString problem = pathProblem(fileName);
    if (!problem.isEmpty()) {
        err << problem << Qt::endl;
        return NoEditor;
    }
    EditorBridge editor;
    if (!editor.load()) {
        err << QApplication::translate("main", "editor2-host: cannot load the editor plug-in: %1")
                   .arg(editor.errorString())
            << Qt::endl;
        return NoEditor;
    }
    EditorWatcher watcher;
    qApp->installEventFilter(&watcher);
    // The editor shows the name it was given; an absolute one says where
    // the file is.
    const QString path = QFileInfo(fileName).absoluteFilePath();
    const bool called = editor.editIniFile(path);
    qApp->removeEventFilter(&watcher);
    if (!called || !watcher.seen()) {
        err << QApplication::translate("main", "editor2-host: the settings editor did not open")
            << Qt::endl;
        return NoEditor;
    }
    if (watcher.result() != QDialog::Accepted)
        return Cancelled;
    // OK without an edit writes nothing; a new file asked for exists after it.
    QFile file(path);
    if (!file.exists() && !file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        err << QApplication::translate("main", "editor2-host: cannot create %1: %2")
                   .arg(QDir::toNativeSeparators(path), file.errorString())
            << Qt::endl;
        return NoEditor;
    }
    return Accepted;
}
