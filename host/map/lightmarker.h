#pragma once

#include <QGraphicsItem>
#include <QPointer>

namespace Arvel {

class Light;

// A controller on the map, at a fixed size whatever the zoom, following the
// controller's position and id.
class LightMarker : public QGraphicsItem
{
public:
    enum { Type = UserType + 1 };

    explicit LightMarker(Light *light);

    Light *light() const;
    // Takes position, label and tool tip from the controller again.
    void sync();

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    QPointer<Light> m_light;
    QString m_label;
};

} // namespace Arvel
