#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class QGraphicsView;
class QSettings;
class QTableWidgetItem;

namespace Ui {
class PresetsEditDlg;
}

// Edits the project's named map views and picks the default one; only OK
// writes them, the rows whose centre is two finite numbers, and the table
// marks a centre that is not. If the host deletes the settings object
// meanwhile, the dialog closes unwritten.
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
    void load();
    void appendPreset(const QStringList &texts);

    std::unique_ptr<Ui::PresetsEditDlg> ui;
    QPointer<QSettings> m_settings;
    QPointer<QGraphicsView> m_osmView;
};
