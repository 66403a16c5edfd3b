#include "standinhost.h"

#include <QDynamicPropertyChangeEvent>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QScopedValueRollback>

Recorder::Recorder(QStringList *log, const QString &label)
    : m_log(log)
    , m_label(label)
{
}

QString Recorder::describe(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("invalid");
    QString text = value.toString();
    if (value.userType() == QMetaType::QPointF) {
        const QPointF point = value.toPointF();
        text = QStringLiteral("%1;%2").arg(point.x()).arg(point.y());
    }
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(value.typeName()), text);
}

void Recorder::record(const QString &entry) const
{
    if (m_log && !m_presetting)
        m_log->append(m_label + QLatin1Char('.') + entry);
}

void Recorder::recordWrite(const char *name, const QVariant &value) const
{
    if (m_log && !m_presetting)
        record(QStringLiteral("%1 = %2").arg(QString::fromLatin1(name), describe(value)));
}

void Recorder::store(QVariant *member, const char *name, const QVariant &value) const
{
    recordWrite(name, value);
    *member = value;
}

void Recorder::recordUndeclared(const QObject *self, QEvent *event) const
{
    if (event->type() != QEvent::DynamicPropertyChange)
        return;
    const QByteArray name = static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName();
    record(QStringLiteral("%1 = %2 (undeclared)")
               .arg(QString::fromLatin1(name), describe(self->property(name.constData()))));
}

RecordingObject::RecordingObject(QStringList *log, const QString &label, QObject *parent)
    : QObject(parent)
    , Recorder(log, label)
{
}

void RecordingObject::preset(const char *name, const QVariant &value)
{
    // A read-only property, such as the light's scene, is set where it is held.
    const int index = metaObject()->indexOfProperty(name);
    if (index >= 0 && !metaObject()->property(index).isWritable()) {
        m_values.insert(QString::fromLatin1(name), value);
        return;
    }
    const QScopedValueRollback<bool> quiet(m_presetting, true);
    setProperty(name, value);
}

QVariant RecordingObject::value(const char *name) const
{
    return m_values.value(QString::fromLatin1(name));
}

void RecordingObject::write(const char *name, const QVariant &value)
{
    recordWrite(name, value);
    m_values.insert(QString::fromLatin1(name), value);
}

bool RecordingObject::event(QEvent *event)
{
    recordUndeclared(this, event);
    return QObject::event(event);
}

void Response::finish(const QVariantList &data)
{
    m_data = data;
    emit finished();
}

namespace Arvel {

Connection::Connection(QStringList *log, QObject *parent)
    : RecordingObject(log, QStringLiteral("connection"), parent)
{
}

Project::Project(QStringList *log, QObject *parent)
    : RecordingObject(log, QStringLiteral("project"), parent)
{
}

bool Project::contains(int id)
{
    record(QStringLiteral("contains(%1)").arg(id));
    return m_ids.contains(id);
}

LightProperties::LightProperties(QStringList *log, QObject *parent)
    : RecordingObject(log, QStringLiteral("light"), parent)
{
}

ListItem *LightProperties::makeItem(const QString &kind, int id, const QString &description)
{
    // Without a log, nothing is labelled: a benchmark's items stay as small
    // as the host's.
    auto *item = new ListItem(log(), log() ? kind + QString::number(id) : QString(), this);
    item->preset("id", id);
    item->preset("description", description);
    return item;
}

void LightProperties::presetPhase(int id, const QString &description, const QString &shema)
{
    ListItem *phase = makeItem(QStringLiteral("phase"), id, description);
    phase->preset("shema", shema);
    m_phases.append(phase);
}

void LightProperties::presetProgram(int id, const QString &description)
{
    m_programs.append(makeItem(QStringLiteral("program"), id, description));
}

QList<QObject *> LightProperties::listed(const char *call, const QList<QObject *> &list) const
{
    record(QString::fromLatin1(call));
    return list;
}

void LightProperties::cleared(const char *call, QList<QObject *> *list)
{
    record(QString::fromLatin1(call));
    qDeleteAll(*list);
    list->clear();
}

QList<QObject *> Light::phases()
{
    return listed("phases()", m_phases);
}

QList<QObject *> Light::programs()
{
    return listed("programs()", m_programs);
}

void Light::clearPhases()
{
    cleared("clearPhases()", &m_phases);
}

void Light::clearPrograms()
{
    cleared("clearPrograms()", &m_programs);
}

QObject *Light::createPhase(int id, const QString &description)
{
    record(QStringLiteral("createPhase(%1, %2)").arg(id).arg(description));
    ListItem *phase = makeItem(QStringLiteral("phase"), id, description);
    m_phases.append(phase);
    return phase;
}

void Light::createProgram(int id, const QString &description)
{
    record(QStringLiteral("createProgram(%1, %2)").arg(id).arg(description));
    m_programs.append(makeItem(QStringLiteral("program"), id, description));
}

QVariantMap Light::customProperties()
{
    record(QStringLiteral("customProperties()"));
    return m_customProperties;
}

void Light::setCustomProperty(const QString &name, const QVariant &value,
                              const QString &description)
{
    record(QStringLiteral("setCustomProperty(%1, %2, %3)").arg(name, describe(value), description));
    if (value.isValid())
        m_customProperties.insert(name, QVariantList{value, description});
    else
        m_customProperties.remove(name);
}

Response *Light::sendCommand(const QVariant &command, const QVariant &argument)
{
    QString text = describe(argument);
    if (argument.userType() == QMetaType::QVariantList) {
        QStringList items;
        const QVariantList list = argument.toList();
        for (const QVariant &item : list)
            items.append(describe(item));
        text = QStringLiteral("QVariantList [%1]").arg(items.join(QStringLiteral(", ")));
    }
    record(QStringLiteral("sendCommand(%1, %2)").arg(describe(command), text));

    QString key = command.toString();
    if (key == QLatin1String("GET_CLIST"))
        key += QLatin1Char(' ') + argument.toString();
    if (m_refused.contains(key))
        return nullptr;
    if (m_reuse) {
        Response *pending = response(key);
        if (pending && pending->data().isEmpty())
            return pending;
    }
    auto *created = new Response(this);
    m_responses.append(created);
    m_responseKeys.append(key);
    return created;
}

Response *Light::response(const QString &key) const
{
    const int index = m_responseKeys.lastIndexOf(key);
    return index < 0 ? nullptr : m_responses.at(index).data();
}

int LightWithForeignPhases::createPhase(int id, const QString &description)
{
    record(QStringLiteral("createPhase(%1, %2) returning a number").arg(id).arg(description));
    return id;
}

QList<QObject *> LightWithoutLists::programs()
{
    return listed("programs()", m_programs);
}

void LightWithoutLists::clearPhases()
{
    record(QStringLiteral("clearPhases()"));
}

void LightWithoutLists::clearPrograms()
{
    record(QStringLiteral("clearPrograms()"));
}

QVariantMap LightWithoutLists::customProperties()
{
    record(QStringLiteral("customProperties()"));
    return {};
}

} // namespace Arvel

MainWindow::MainWindow()
{
    setCentralWidget(new QWidget(this));
    // Below the central widget: the plug-in searches the whole tree.
    m_crossView = new PreviewView(centralWidget());
    m_crossView->setObjectName(QStringLiteral("crossView"));
}

bool MainWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Close:
        ++m_closeEvents;
        break;
    case QEvent::KeyPress:
        ++m_keyPresses;
        break;
    case QEvent::User:
        ++m_userEvents;
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

bool Scene::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        m_keys.append(static_cast<QKeyEvent *>(event)->key());
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::GraphicsSceneMousePress)
        ++m_presses;
    return QGraphicsScene::event(event);
}

OsmView::OsmView(QStringList *log, QGraphicsScene *scene)
    : QGraphicsView(scene)
    , Recorder(log, QStringLiteral("view"))
{
}

void OsmView::presetZoom(const QVariant &min, const QVariant &max, const QVariant &factor)
{
    m_zoomMin = min;
    m_zoomMax = max;
    m_zoomF = factor;
}
