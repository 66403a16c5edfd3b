#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QTimer>

class QDialog;
class QGraphicsScene;

// Picking the object's position on the host's map for the object dialog. The
// dialog hides, the map's scene is watched and the cross cursor shows; the
// first plain left click gives the position, and the pick ends 300 ms after
// it or after a plain Escape, when the dialog shows again. Events are never
// swallowed: the map handles them as usual. A pick ends at once when the
// scene goes, and without showing the dialog again when the dialog closes.
class PositionPicker : public QObject
{
    Q_OBJECT

public:
    explicit PositionPicker(QDialog *dialog);
    ~PositionPicker() override;

    bool isPicking() const { return m_picking; }
    // Starts a pick on the scene that the host object names in its "scene"
    // property; nothing happens when it names none or a pick runs.
    void start(const QObject *light);
    // Ends a pick under way, the position as it stands.
    void stop(bool showDialog = true);

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void picked(const QPointF &position);

private:
    void scheduleStop();

    QDialog *m_dialog;
    bool m_picking = false;
    QPointer<QGraphicsScene> m_scene;
    QTimer m_stopTimer;
};
