#pragma once

#include <QDialog>

class QGraphicsView;
class QSettings;
class QTableWidgetItem;

namespace Ui {
class PresetsEditDlg;
}

// Edits the project's named map views (name, tooltip, zoom and centre) and
// chooses the default one. The presets are read when the dialog is built;
// only OK writes them back. The view is only read, to add its current centre
// and zoom. Neither the settings object nor the view is owned.
class PresetsEditDlg : public QDialog
{
    Q_OBJECT

public:
    PresetsEditDlg(QWidget *parent, QSettings *settings, QGraphicsView *osmView);
    ~PresetsEditDlg() override;

    void accept() override;

private slots:
    void on_remove_clicked();
    void on_addCurrent_clicked();
    void on_addCustom_clicked();
    void on_presets_itemChanged(QTableWidgetItem *item);

private:
    Ui::PresetsEditDlg *ui;
    QSettings *m_settings;
    QGraphicsView *m_osmView;
};
