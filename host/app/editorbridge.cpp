#include "editorbridge.h"

#include "hostpaths.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDialog>
#include <QEvent>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QSettings>
#include <QTimer>

namespace {

// The plug-in's object dialog, as the host knows it: by its object name.
const char ObjectDialogName[] = "ObjectPropertiesDlg";

} // namespace

EditorBridge::EditorBridge(QObject *parent)
    : QObject(parent)
{
}

bool EditorBridge::load()
{
    if (m_plugin)
        return true;
    // Beside the program in a build tree, in the plug-in folder once installed.
    QObject *instance = nullptr;
    QStringList errors;
    const QStringList candidates = HostPaths::pluginCandidates();
    for (const QString &candidate : candidates) {
        m_loader.setFileName(candidate);
        instance = m_loader.instance();
        if (instance)
            break;
        errors.append(m_loader.errorString());
    }
    if (!instance) {
        m_error = errors.join(QStringLiteral("; "));
        return false;
    }
    m_error.clear();
    m_plugin = instance;
    // Old-style connections by signature: the host knows no plug-in types.
    const bool edited =
        connect(instance, SIGNAL(objectEdited(QObject *)), this, SIGNAL(objectEdited(QObject *)));
    const bool added =
        connect(instance, SIGNAL(objectAdded(QPointF)), this, SIGNAL(objectAdded(QPointF)));
    if (!edited || !added)
        qWarning() << "editor2: the plug-in lacks the signals objectEdited or objectAdded";
    return true;
}

QString EditorBridge::moduleVersion() const
{
    return m_plugin ? m_plugin->property("moduleVersion").toString() : QString();
}

bool EditorBridge::report(bool called, const char *method)
{
    if (!called)
        qWarning() << "editor2: the plug-in did not answer" << method;
    return called;
}

bool EditorBridge::editObject(QObject *light, bool *ok)
{
    if (m_plugin)
        emit editingObject(light);
    bool edited = false;
    m_objectDialogFinished = false;
    QCoreApplication::instance()->installEventFilter(this);
    const bool called =
        m_plugin
        && QMetaObject::invokeMethod(m_plugin, "editObject", Q_RETURN_ARG(bool, edited),
                                     Q_ARG(QObject *, light));
    QCoreApplication::instance()->removeEventFilter(this);
    setPicking(false);
    report(called, "editObject");
    if (ok)
        *ok = called;
    return called && edited;
}

bool EditorBridge::editProject(QObject *project)
{
    return report(
        m_plugin && QMetaObject::invokeMethod(m_plugin, "editProject", Q_ARG(QObject *, project)),
        "editProject");
}

bool EditorBridge::editUserSettings()
{
    return report(m_plugin && QMetaObject::invokeMethod(m_plugin, "editUserSettings"),
                  "editUserSettings");
}

bool EditorBridge::editSystemSettings()
{
    return report(m_plugin && QMetaObject::invokeMethod(m_plugin, "editSystemSettings"),
                  "editSystemSettings");
}

bool EditorBridge::editIniFile(const QString &fileName)
{
    return report(
        m_plugin && QMetaObject::invokeMethod(m_plugin, "editIniFile", Q_ARG(QString, fileName)),
        "editIniFile");
}

bool EditorBridge::editOsmProperies(QSettings *settings, QObject *osmView)
{
    return report(m_plugin
                      && QMetaObject::invokeMethod(m_plugin, "editOsmProperies",
                                                   Q_ARG(QSettings *, settings),
                                                   Q_ARG(QObject *, osmView)),
                  "editOsmProperies");
}

bool EditorBridge::editPresets(QSettings *settings, QGraphicsView *osmView)
{
    return report(m_plugin
                      && QMetaObject::invokeMethod(m_plugin, "editPresets",
                                                   Q_ARG(QSettings *, settings),
                                                   Q_ARG(QGraphicsView *, osmView)),
                  "editPresets");
}

bool EditorBridge::startAddMode(QGraphicsScene *scene, const QCursor &cursor)
{
    return report(m_plugin
                      && QMetaObject::invokeMethod(m_plugin, "startAddMode",
                                                   Q_ARG(QGraphicsScene *, scene),
                                                   Q_ARG(QCursor, cursor)),
                  "startAddMode");
}

bool EditorBridge::initCloseHandler()
{
    return report(m_plugin && QMetaObject::invokeMethod(m_plugin, "initCloseHandler"),
                  "initCloseHandler");
}

// The object dialog hides itself for a pick and when it closes; only a close
// finishes it, right after hiding it. So a hide counts as a pick once the
// events of that moment are handled and the dialog has not finished.
bool EditorBridge::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide)
        && watched->objectName() == QLatin1String(ObjectDialogName)) {
        if (auto *dialog = qobject_cast<QDialog *>(watched)) {
            if (type == QEvent::Show) {
                connect(dialog, &QDialog::finished, this, &EditorBridge::objectDialogFinished,
                        Qt::UniqueConnection);
                setPicking(false);
            } else if (!event->spontaneous()) {
                QTimer::singleShot(0, dialog, [this, dialog] {
                    if (dialog->isHidden() && !m_objectDialogFinished)
                        setPicking(true);
                });
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void EditorBridge::objectDialogFinished()
{
    m_objectDialogFinished = true;
    setPicking(false);
}

void EditorBridge::setPicking(bool picking)
{
    if (m_picking == picking)
        return;
    m_picking = picking;
    emit pickingPosition(picking);
}
