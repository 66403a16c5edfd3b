#include "editorbridge.h"

#include "hostpaths.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QSettings>

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
    const bool called =
        m_plugin
        && QMetaObject::invokeMethod(m_plugin, "editObject", Q_RETURN_ARG(bool, edited),
                                     Q_ARG(QObject *, light));
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
