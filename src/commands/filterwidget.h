#pragma once

#include "commandsui.h"

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class FilterWidget;
}

// Edits the host's three console output filters (requests, answers,
// notifications), one tab each, as check boxes, or as text with the boxes
// greyed for a filter of another form. A tab whose filter is empty is
// disabled and builds "0", the filter that lets nothing pass.
class FilterWidget : public QWidget, public CommandsUi
{
    Q_OBJECT

public:
    explicit FilterWidget(QWidget *parent = nullptr);
    ~FilterWidget() override;

    // Meant to be called once, right after construction: a second call would
    // click the custom boxes of unrecognised filters again.
    void setFilters(QString request, QString response, QString notification);
    void buildFilters();

    QString requestFilter() const { return m_requestFilter; }
    QString responseFilter() const { return m_responseFilter; }
    QString notificationFilter() const { return m_notificationFilter; }

private slots:
    void on_clearAll_clicked();
    void on_selectAll_clicked();
    void on_invertAll_clicked();

private:
    struct Tab;
    Tab tab(int index) const;
    void setCurrentChecks(CheckMode mode);

    std::unique_ptr<Ui::FilterWidget> ui;
    QString m_requestFilter;
    QString m_responseFilter;
    QString m_notificationFilter;
};
