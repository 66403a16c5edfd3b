#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QTimer>

class QDialog;
class QGraphicsScene;

// Picks the object's position on the host's map: the object dialog hides
// until a plain left click (the position), Enter (the centre of the map in
// view) or Escape on the map ends the pick 300 ms later; the map still gets
// every event. A pick ends at once when the scene goes, and without the
// dialog coming back when the dialog closes.
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
