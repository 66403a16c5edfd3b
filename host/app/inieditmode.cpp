#include "inieditmode.h"

#include "editorbridge.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
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

int IniEditMode::run(const QString &fileName)
{
    QTextStream err(stderr);
    if (fileName.isEmpty()) {
        err << QApplication::translate("main", "editor2-host: --edit-ini needs a file name")
            << Qt::endl;
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
    const bool called = editor.editIniFile(QFileInfo(fileName).absoluteFilePath());
    qApp->removeEventFilter(&watcher);
    if (!called || !watcher.seen()) {
        err << QApplication::translate("main", "editor2-host: the settings editor did not open")
            << Qt::endl;
        return NoEditor;
    }
    return watcher.result() == QDialog::Accepted ? Accepted : Cancelled;
}
