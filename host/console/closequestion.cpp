#include "closequestion.h"

#include "project.h"
#include "projectstore.h"

#include <QApplication>
#include <QDebug>
#include <QMainWindow>

namespace Arvel {

namespace {

QWidget *mainWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (qobject_cast<QMainWindow *>(window))
            return window;
    }
    return QApplication::activeWindow();
}

} // namespace

CloseQuestion::CloseQuestion(QObject *parent)
    : QObject(parent)
{
}

void CloseQuestion::setProject(Project *project)
{
    m_project = project;
}

bool CloseQuestion::closeProject()
{
    m_lastError.clear();
    if (!m_project || !m_project->isChanged())
        return true;
    switch (ask()) {
    case QMessageBox::Save:
        break;
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
    if (ProjectStore::save(m_project, &m_lastError))
        return true;
    if (m_answer) {
        qWarning().noquote() << tr("The project cannot be saved: %1").arg(m_lastError);
    } else {
        QMessageBox::critical(mainWindow(), tr("Save project"),
                              tr("The project cannot be saved: %1").arg(m_lastError));
    }
    return false;
}

QMessageBox::StandardButton CloseQuestion::ask() const
{
    if (m_answer)
        return m_answer();
    return QMessageBox::question(
        mainWindow(), tr("Close project"), tr("Save changes to the project?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
}

} // namespace Arvel
