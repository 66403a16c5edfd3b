#include "positionpicker.h"

#include "hostcontract.h"

#include <QApplication>
#include <QDialog>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QKeyEvent>

namespace {

// The scene the object names in its "scene" property, if it holds one.
QGraphicsScene *sceneOf(const QObject *light)
{
    static const int registered = qRegisterMetaType<QGraphicsScene *>();
    Q_UNUSED(registered)
    return qobject_cast<QGraphicsScene *>(
        HostCall::read(light, Host::Light::Scene).value<QObject *>());
}

// The view that the keys come through: the scene's view with the focus, else
// its first one.
QGraphicsView *viewOf(const QGraphicsScene *scene)
{
    const QList<QGraphicsView *> views = scene->views();
    for (QGraphicsView *view : views) {
        if (view->hasFocus())
            return view;
    }
    return views.value(0);
}

} // namespace

PositionPicker::PositionPicker(QDialog *dialog)
    : QObject(dialog)
    , m_dialog(dialog)
{
    m_stopTimer.setSingleShot(true);
    m_stopTimer.setInterval(300);
    connect(&m_stopTimer, &QTimer::timeout, this, [this] { stop(); });
}

PositionPicker::~PositionPicker()
{
    stop(false);
}

void PositionPicker::start(const QObject *light)
{
    if (m_picking)
        return;
    QGraphicsScene *scene = sceneOf(light);
    if (!scene)
        return;
    m_picking = true;
    m_scene = scene;
    connect(scene, &QObject::destroyed, this, [this] { stop(); });
    connect(m_dialog, &QDialog::finished, this, [this] { stop(false); });
    m_dialog->hide();
    // The keys reach the scene through its view.
    if (QGraphicsView *view = viewOf(scene))
        view->setFocus(Qt::OtherFocusReason);
    scene->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::CrossCursor);
}

void PositionPicker::stop(bool showDialog)
{
    if (!m_picking)
        return;
    m_picking = false;
    m_stopTimer.stop();
    disconnect(m_dialog, &QDialog::finished, this, nullptr);
    if (m_scene) {
        disconnect(m_scene.data(), &QObject::destroyed, this, nullptr);
        m_scene->removeEventFilter(this);
    }
    m_scene = nullptr;
    if (showDialog)
        m_dialog->show();
    QApplication::restoreOverrideCursor();
}

bool PositionPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (m_picking && watched == m_scene.data() && watched->inherits("QGraphicsScene")) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            QGraphicsView *view = enter ? viewOf(m_scene) : nullptr;
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                scheduleStop();
            } else if (view && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                // The keyboard's pick: the centre of the map in view, which
                // the arrow keys move.
                const QRect shown = view->viewport()->rect();
                emit picked(view->mapToScene(shown).boundingRect().center());
                scheduleStop();
            }
        } else if (event->type() == QEvent::GraphicsSceneMousePress) {
            const auto *mouse = static_cast<QGraphicsSceneMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier) {
                emit picked(mouse->scenePos());
                scheduleStop();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void PositionPicker::scheduleStop()
{
    // An Escape and a click close together end the pick once.
    if (!m_stopTimer.isActive())
        m_stopTimer.start();
}
