#pragma once

#include <QMenu>
#include <QPointer>

#include "light.h"

namespace Arvel {
class Project;
}

// How the project's simulated controllers answer (promptly, slowly, short,
// not at all), for every controller, also those added later.
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
