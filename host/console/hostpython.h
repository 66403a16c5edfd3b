#pragma once

#include <PythonQt.h>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace Arvel {

class CloseQuestion;
class Project;

// The host's Python: the modules `actions` and `arvel` (av_module with the
// console's three filters, kept in step with the project's), and the filters'
// verdicts on the console's messages.
class HostPython : public QObject
{
    Q_OBJECT

public:
    enum class FilterKind { Request = 0, Response = 1, Notification = 2 };
    enum class Verdict { Show, Hide, Error };

    explicit HostPython(QObject *parent = nullptr);
    ~HostPython() override;

    // Starts the interpreter and creates the modules; false without Python.
    bool start();
    bool isAvailable() const;

    // Keeps av_module and the project's filters in step from now on; a
    // project without filters takes the module's.
    void attachProject(Project *project);
    // Takes the filters from av_module into the project (after an editor
    // changed them in Python).
    void pullFilters();

    // What actions.closeProject() asks; it follows the attached project.
    CloseQuestion *closeQuestion() const { return m_closeQuestion; }

    // The three filter texts of av_module: request, response, notification.
    QStringList filters() const;
    // Writes the texts into av_module as values, never as code.
    void setFilters(const QString &request, const QString &response, const QString &notification);

    // Whether the filter of `kind` lets the message through. A faulty filter
    // hides the message; its error is returned once through *error.
    Verdict requestVerdict(int command, QString *error);
    Verdict responseVerdict(int command, bool failed, QString *error);
    Verdict notificationVerdict(int id, QString *error);

signals:
    // Text that Python printed, or an error it reported.
    void output(const QString &text, bool error);

private:
    Verdict verdict(FilterKind kind, int command, bool failed, int id, QString *error);
    void pushProjectFilters();

    PythonQtObjectPtr m_actions;
    PythonQtObjectPtr m_arvel;
    QPointer<Project> m_project;
    CloseQuestion *m_closeQuestion;
    bool m_started = false;
    bool m_helperFailed = false;
};

} // namespace Arvel
