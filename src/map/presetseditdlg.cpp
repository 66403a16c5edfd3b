#include "presetseditdlg.h"

PresetsEditDlg::PresetsEditDlg(QWidget *parent, QSettings *settings, QGraphicsView *osmView)
    : QDialog(parent)
{
    Q_UNUSED(settings)
    Q_UNUSED(osmView)
}

PresetsEditDlg::~PresetsEditDlg() = default;
