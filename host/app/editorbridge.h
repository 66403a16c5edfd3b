#pragma once

#include <QCursor>
#include <QObject>
#include <QPluginLoader>
#include <QPointF>
#include <QPointer>
#include <QString>

class QGraphicsScene;
class QGraphicsView;
class QSettings;

// The editor plug-in as the host sees it: loaded from beside the program or
// from the installed plug-in folder and driven only by name; each call tells
// whether the plug-in answered it.
class EditorBridge : public QObject
{
    Q_OBJECT

public:
    explicit EditorBridge(QObject *parent = nullptr);

    bool load();
    bool isLoaded() const { return m_plugin; }
    QString errorString() const { return m_error; }
    // The library loaded, once loaded.
    QString fileName() const { return m_plugin ? m_loader.fileName() : QString(); }
    QString moduleVersion() const;

    // *ok (when given) is false when the plug-in could not be called.
    bool editObject(QObject *light, bool *ok = nullptr);
    bool editProject(QObject *project);
    bool editUserSettings();
    bool editSystemSettings();
    bool editIniFile(const QString &fileName);
    bool editOsmProperies(QSettings *settings, QObject *osmView);
    bool editPresets(QSettings *settings, QGraphicsView *osmView);
    bool startAddMode(QGraphicsScene *scene, const QCursor &cursor);
    bool initCloseHandler();

signals:
    // Just before the plug-in's object dialog opens on `light`.
    void editingObject(QObject *light);
    // The object dialog hid itself so that the user picks a position on the
    // map (true); it came back or closed (false).
    void pickingPosition(bool picking);
    void objectEdited(QObject *light);
    void objectAdded(QPointF point);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool report(bool called, const char *method);
    void setPicking(bool picking);
    void objectDialogFinished();

    QPluginLoader m_loader;
    QPointer<QObject> m_plugin;
    QString m_error;
    bool m_objectDialogFinished = false;
    bool m_picking = false;
};
