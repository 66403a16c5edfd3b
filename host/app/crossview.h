#pragma once

#include <QPointer>
#include <QWidget>

namespace Arvel {

class Light;

// The phase preview, object "crossView": previewPhase(n) shows phase n of
// the controller set with setLight(), previewPhase(-1) clears it.
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
