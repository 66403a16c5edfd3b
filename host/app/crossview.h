#pragma once

#include <QPointer>
#include <QWidget>

namespace Arvel {

class Light;

// The phase preview of the main window: editors call previewPhase(n) by name
// to show phase n of the controller being edited, and previewPhase(-1) to
// clear it. It draws a crossing with the phase's open directions and the
// phase's number and description.
class CrossView : public QWidget
{
    Q_OBJECT

public:
    explicit CrossView(QWidget *parent = nullptr);

    // The controller whose phases previews refer to; may be null.
    void setLight(Light *light);
    int previewedPhase() const { return m_phase; }

    Q_INVOKABLE void previewPhase(int phase);

    QSize sizeHint() const override;

signals:
    void previewChanged(int phase);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString phaseDescription() const;

    QPointer<Light> m_light;
    int m_phase = -1;
};

} // namespace Arvel
