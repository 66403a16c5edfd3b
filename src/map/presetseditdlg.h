#pragma once

#include <QDialog>

class QGraphicsView;
class QSettings;

class PresetsEditDlg : public QDialog
{
    Q_OBJECT

public:
    PresetsEditDlg(QWidget *parent, QSettings *settings, QGraphicsView *osmView);
    ~PresetsEditDlg() override;
};
