#include "positionpicker.h"

#include "hostcontract.h"

#include <QApplication>
#include <QDialog>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
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
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier)
                scheduleStop();
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
