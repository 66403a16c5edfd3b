#include "trafficconsole.h"

#include "commandcodes.h"
#include "hostpython.h"
#include "hostsettings.h"
#include "project.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Arvel;

namespace {

QString hex(int code)
{
    return QStringLiteral("0x%1").arg(uint(code), 0, 16);
}

QString colored(const QString &color, const QString &text)
{
    return QStringLiteral("<span style=\"color:%1\">%2</span>").arg(color, text.toHtmlEscaped());
}

} // namespace

TrafficConsole::TrafficConsole(HostPython *python, Project *project, QWidget *parent)
    : QWidget(parent)
    , m_python(python)
    , m_project(project)
{
    setObjectName(QStringLiteral("trafficConsole"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);

    auto *bar = new QHBoxLayout;
    m_filters = new QLabel(this);
    m_filters->setTextFormat(Qt::RichText);
    m_filters->setWordWrap(true);
    m_filters->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar->addWidget(m_filters, 1);
    m_counter = new QLabel(this);
    bar->addWidget(m_counter);
    m_pause = new QToolButton(this);
    m_pause->setText(tr("Pause"));
    m_pause->setCheckable(true);
    m_pause->setToolTip(tr("Stop printing; messages keep being counted"));
    bar->addWidget(m_pause);
    auto *clearButton = new QToolButton(this);
    clearButton->setText(tr("Clear"));
    connect(clearButton, &QToolButton::clicked, this, &TrafficConsole::clear);
    bar->addWidget(clearButton);
    layout->addLayout(bar);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("consoleText"));
    m_text->setReadOnly(true);
    m_text->setMaximumBlockCount(HostSettings::consoleMaximumLines());
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_text, 1);

    if (m_project)
        connect(m_project, &Project::consoleFiltersChanged, this,
                &TrafficConsole::updateFilterLabel);
    updateFilterLabel();
    updateCounter();
}

void TrafficConsole::updateFilterLabel()
{
    QStringList texts = m_python ? m_python->filters() : QStringList();
    if (texts.size() != 3 && m_project)
        texts = QStringList{m_project->consoleRequestFilter(), m_project->consoleResponseFilter(),
                            m_project->consoleNotificationFilter()};
    if (texts.size() != 3) {
        m_filters->setText(tr("No console filters"));
        return;
    }
    const QString shown = tr("everything");
    auto part = [&shown](const QString &label, const QString &text) {
        return QStringLiteral("<b>%1</b> <code>%2</code>")
            .arg(label.toHtmlEscaped(), (text.trimmed().isEmpty() ? shown : text).toHtmlEscaped());
    };
    QString html = part(tr("Requests:"), texts.at(0)) + QStringLiteral(" &nbsp; ")
                   + part(tr("Answers:"), texts.at(1)) + QStringLiteral(" &nbsp; ")
                   + part(tr("Notifications:"), texts.at(2));
    if (!m_python || !m_python->isAvailable())
        html += QStringLiteral(" &nbsp; ")
                + colored(QStringLiteral("#b00"), tr("(no Python: not applied)"));
    m_filters->setText(html);
}

void TrafficConsole::updateCounter()
{
    m_counter->setText(tr("%1 of %2 shown").arg(m_shown).arg(m_total));
}

void TrafficConsole::clear()
{
    m_text->clear();
    m_shown = 0;
    m_total = 0;
    updateCounter();
}

void TrafficConsole::appendLine(const QString &time, const QString &html)
{
    QScrollBar *scroll = m_text->verticalScrollBar();
    const bool atEnd = scroll->value() >= scroll->maximum() - 2;
    m_text->appendHtml(colored(QStringLiteral("#888"), time) + QStringLiteral("&nbsp; ") + html);
    if (atEnd)
        scroll->setValue(scroll->maximum());
}

void TrafficConsole::showMessage(const TrafficMessage &message)
{
    ++m_total;
    QString error;
    HostPython::Verdict verdict = HostPython::Verdict::Show;
    QString kind;
    if (m_python) {
        switch (message.kind) {
        case TrafficMessage::Kind::Request:
            verdict = m_python->requestVerdict(message.command, &error);
            kind = tr("request");
            break;
        case TrafficMessage::Kind::Response:
            verdict = m_python->responseVerdict(message.command, message.error, &error);
            kind = tr("answer");
            break;
        case TrafficMessage::Kind::Notification:
            verdict = m_python->notificationVerdict(message.notificationId, &error);
            kind = tr("notification");
            break;
        }
    }
    const QString time = message.time.toString(QStringLiteral("HH:mm:ss.zzz"));
    if (verdict == HostPython::Verdict::Error) {
        appendLine(time,
                   colored(QStringLiteral("#b00"),
                           tr("The %1 filter fails and hides every %1: %2").arg(kind, error)));
    }
    if (verdict != HostPython::Verdict::Show || m_pause->isChecked()) {
        updateCounter();
        return;
    }
    ++m_shown;
    updateCounter();

    const QString light = QStringLiteral("[%1]").arg(message.lightId, 3);
    switch (message.kind) {
    case TrafficMessage::Kind::Request:
        appendLine(time,
                   colored(QStringLiteral("#1a5fb4"),
                           QStringLiteral("→ %1 %2 (%3)")
                               .arg(light, commandName(message.command), hex(message.command))));
        break;
    case TrafficMessage::Kind::Response:
        appendLine(time,
                   colored(message.error ? QStringLiteral("#c01c28") : QStringLiteral("#26a269"),
                           QStringLiteral("← %1 %2 (%3) %4")
                               .arg(light, commandName(message.command), hex(message.command),
                                    message.error ? tr("error: no answer") : tr("ok"))));
        break;
    case TrafficMessage::Kind::Notification:
        appendLine(time, colored(QStringLiteral("#9141ac"),
                                 QStringLiteral("! %1 %2 %3 (%4)")
                                     .arg(light, tr("notification"),
                                          notificationName(message.notificationId),
                                          hex(message.notificationId))));
        break;
    }
}

void TrafficConsole::showPythonOutput(const QString &text, bool error)
{
    // Python writes in pieces (a traceback line by line, print() and its
    // newline apart); the console shows whole lines.
    QString &pending = m_pythonPending[error ? 1 : 0];
    pending += text;
    const int end = pending.lastIndexOf(QLatin1Char('\n'));
    if (end < 0)
        return;
    const QStringList lines = pending.left(end).split(QLatin1Char('\n'));
    pending.remove(0, end + 1);
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        appendLine(time, colored(error ? QStringLiteral("#c01c28") : QStringLiteral("#444"),
                                 QStringLiteral("python: ") + line));
    }
}
