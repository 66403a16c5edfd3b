#pragma once

#include "trafficsimulator.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace Arvel {
class HostPython;
class Project;
} // namespace Arvel

// The traffic console: the controller messages that the project's console
// filters let pass, and what Python prints; a faulty filter is reported once.
class TrafficConsole : public QWidget
{
    Q_OBJECT

public:
    TrafficConsole(Arvel::HostPython *python, Arvel::Project *project, QWidget *parent = nullptr);

    int shownCount() const { return m_shown; }
    int totalCount() const { return m_total; }

public slots:
    void showMessage(const Arvel::TrafficMessage &message);
    void showPythonOutput(const QString &text, bool error);
    void clear();

private:
    void appendLine(const QString &time, const QString &html);
    void updateFilterLabel();
    void updateCounter();

    QPointer<Arvel::HostPython> m_python;
    QPointer<Arvel::Project> m_project;
    QLabel *m_filters = nullptr;
    QLabel *m_counter = nullptr;
    QPlainTextEdit *m_text = nullptr;
    QToolButton *m_pause = nullptr;
    QString m_pythonPending[2];
    int m_shown = 0;
    int m_total = 0;
};
