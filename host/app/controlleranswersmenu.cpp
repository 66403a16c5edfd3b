#include "controlleranswersmenu.h"

#include "project.h"

#include <QActionGroup>

using Arvel::Light;

ControllerAnswersMenu::ControllerAnswersMenu(Arvel::Project *project, QWidget *parent)
    : QMenu(tr("Controller &answers"), parent)
    , m_project(project)
{
    setObjectName(QStringLiteral("controllerAnswersMenu"));
    auto *group = new QActionGroup(this);
    const struct
    {
        QString text;
        Light::Answers answers;
    } choices[] = {
        {tr("&Promptly"), Light::Answers::Prompt},
        {tr("&Slowly (about 2 s)"), Light::Answers::Slow},
        {tr("With s&hort lists"), Light::Answers::Short},
        {tr("&Not at all"), Light::Answers::None},
    };
    for (const auto &choice : choices) {
        QAction *action = addAction(choice.text);
        action->setCheckable(true);
        action->setChecked(choice.answers == m_answers);
        action->setData(int(choice.answers));
        group->addAction(action);
        const Light::Answers answers = choice.answers;
        connect(action, &QAction::triggered, this, [this, answers] { setAnswers(answers); });
    }
    if (project)
        connect(project, &Arvel::Project::lightAdded, this, &ControllerAnswersMenu::apply);
}

void ControllerAnswersMenu::setAnswers(Light::Answers answers)
{
    m_answers = answers;
    const QList<QAction *> all = actions();
    for (QAction *action : all)
        action->setChecked(action->data().toInt() == int(answers));
    if (!m_project)
        return;
    const QList<Light *> lights = m_project->lights();
    for (Light *light : lights)
        apply(light);
}

void ControllerAnswersMenu::apply(Light *light)
{
    light->setAnswers(m_answers);
}
