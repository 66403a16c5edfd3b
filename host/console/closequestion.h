#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace Arvel {

class Project;

// What closing the project means to the host, called through its Python
// action actions.closeProject(): an unchanged project closes at once; with
// unsaved changes the user is asked "Save changes to the project?" with
// Save, Discard and Cancel. Save closes only once the project is saved,
// Discard closes without saving, Cancel keeps the project open. The answer
// can be given by code instead of a person (tests, scripted runs); such an
// answer gets no message box, a failed save is then only logged.
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
