#include "filterwidget.h"
#include "ui_filterwidget.h"

#include "filterexpression.h"
#include "pythoncall.h"

using FilterExpression::Kind;

// What sets the three tabs apart.
struct FilterWidget::Tab
{
    Kind kind;
    QWidget *page;
    const QList<CommandDesc> &list;
    QGridLayout *grid;
    QCheckBox *custom;
    QLineEdit *text;
};

FilterWidget::FilterWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::FilterWidget)
    , m_requestFilter(FilterExpression::nothing())
    , m_responseFilter(FilterExpression::nothing())
    , m_notificationFilter(FilterExpression::nothing())
{
    ui->setupUi(this);
}

FilterWidget::~FilterWidget() = default;

FilterWidget::Tab FilterWidget::tab(int index) const
{
    switch (index) {
    case 0:
        return {Kind::Request,  ui->tab,          commands(),
                ui->gridLayout, ui->customFilter, ui->customFilterText};
    case 1:
        return {Kind::Response,   ui->tab_2,          commands(),
                ui->gridLayout_2, ui->customFilter_2, ui->customFilterText_2};
    default:
        return {Kind::Notification, ui->tab_3,          notifications(),
                ui->gridLayout_3,   ui->customFilter_3, ui->customFilterText_3};
    }
}

void FilterWidget::setFilters(QString request, QString response, QString notification)
{
    m_requestFilter = request;
    m_responseFilter = response;
    m_notificationFilter = notification;

    const PythonCall::MainModule python;

    // Clicked, the answers' custom box gives its field the focus, for the
    // user's click; reading the filters leaves the focus where it was.
    QWidget *focus = window()->focusWidget();
    const QString expressions[] = {request, response, notification};
    for (int i = 0; i < 3; ++i) {
        const Tab t = tab(i);
        if (expressions[i].isEmpty()) {
            t.page->setEnabled(false);
            continue;
        }
        const FilterExpression::Reading reading = FilterExpression::read(t.kind, expressions[i]);
        t.text->setText(reading.text);
        fillGrid(t.list, t.grid);
        if (!reading.recognised)
            t.custom->click(); // through the form's connections: greys the boxes
        // A pattern without the subject would give every box the same answer.
        std::function<bool(int)> isSelected;
        if (FilterExpression::needsEvaluation(reading.pattern)) {
            isSelected = [&python, &reading](int code) {
                return python.evaluate(FilterExpression::testFor(reading.pattern, code)).toBool();
            };
        }
        setChecks(t.list, t.grid, isSelected);
    }
    if (focus)
        focus->setFocus();
    else if (QWidget *taken = window()->focusWidget())
        taken->clearFocus();
}

void FilterWidget::buildFilters()
{
    QString *filters[] = {&m_requestFilter, &m_responseFilter, &m_notificationFilter};
    for (int i = 0; i < 3; ++i) {
        const Tab t = tab(i);
        // Asked of the page alone, so that a disabled ancestor does not turn
        // every filter into "0".
        if (!t.page->isEnabledTo(this)) {
            *filters[i] = FilterExpression::nothing();
            continue;
        }
        const bool custom = t.custom->isChecked();
        *filters[i] = FilterExpression::build(t.kind, custom, t.text->text(),
                                              custom ? QString() : checkedCodes(t.list, t.grid));
    }
}

void FilterWidget::setCurrentChecks(CheckMode mode)
{
    if (QWidget *page = ui->tabWidget->currentWidget())
        setAllChecks(page->findChild<QFrame *>(), mode);
}

void FilterWidget::on_clearAll_clicked()
{
    setCurrentChecks(CheckMode::Clear);
}

void FilterWidget::on_selectAll_clicked()
{
    setCurrentChecks(CheckMode::Select);
}

void FilterWidget::on_invertAll_clicked()
{
    setCurrentChecks(CheckMode::Invert);
}
