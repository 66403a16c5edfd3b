#include "eventsmaskdialog.h"
#include "ui_eventsmaskdialog.h"

EventsMaskDialog::EventsMaskDialog(QWidget *parent, quint32 mask)
    : QDialog(parent)
    , ui(new Ui::EventsMaskDialog)
    , m_mask(mask)
{
    ui->setupUi(this);
    fillGrid(notifications(), ui->gridLayout);
    setChecksFromMask(ui->gridLayout, mask);
}

EventsMaskDialog::~EventsMaskDialog() = default;

void EventsMaskDialog::accept()
{
    quint32 boxed = 0;
    for (const CommandDesc &row : notifications())
        boxed |= 1u << (row.code & 31);
    // The boxes alone would clear the bits they do not show, changing a
    // controller's mask behind the user's back.
    m_mask = (m_mask & ~boxed) | maskFromChecks(ui->gridLayout);
    QDialog::accept();
}

void EventsMaskDialog::on_clearAll_clicked()
{
    setAllChecks(ui->frame, CheckMode::Clear);
}

void EventsMaskDialog::on_selectAll_clicked()
{
    setAllChecks(ui->frame, CheckMode::Select);
}

void EventsMaskDialog::on_invertAll_clicked()
{
    setAllChecks(ui->frame, CheckMode::Invert);
}
