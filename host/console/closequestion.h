#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace Arvel {

class Project;

// actions.closeProject() of the host's Python: true when the project may
// close, asking "Save changes to the project?" (Save, Discard, Cancel) when it
// has unsaved changes. An answer set by code replaces the question.
class CloseQuestion : public QObject
{
    Q_OBJECT

public:
    using Answer = std::function<QMessageBox::StandardButton()>;

    explicit CloseQuestion(QObject *parent = nullptr);

    void setProject(Project *project);
    // An empty answer asks the user.
    void setAnswer(Answer answer) { m_answer = std::move(answer); }

    // True when the project may close.
    Q_INVOKABLE bool closeProject();

    // Why the last save asked for failed; empty when it did not.
    QString lastError() const { return m_lastError; }

private:
    QMessageBox::StandardButton ask() const;

    QPointer<Project> m_project;
    Answer m_answer;
    QString m_lastError;
};

} // namespace Arvel
