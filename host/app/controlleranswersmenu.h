#pragma once

#include <QMenu>
#include <QPointer>

#include "light.h"

namespace Arvel {
class Project;
}

// A menu of the reference host that sets how the simulated controllers behind
// sendCommand answer: promptly, slowly, with short lists or not at all. The
// choice holds for every controller of the project, also those added later,
// so that the object dialog's progress and its cancel can be watched.
class ControllerAnswersMenu : public QMenu
{
    Q_OBJECT

public:
    ControllerAnswersMenu(Arvel::Project *project, QWidget *parent = nullptr);

    Arvel::Light::Answers answers() const { return m_answers; }
    void setAnswers(Arvel::Light::Answers answers);

private:
    void apply(Arvel::Light *light);

    QPointer<Arvel::Project> m_project;
    Arvel::Light::Answers m_answers = Arvel::Light::Answers::Prompt;
};
