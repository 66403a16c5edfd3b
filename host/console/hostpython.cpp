#include "hostpython.h"

#include "closequestion.h"
#include "project.h"

#include <QVariant>

namespace Arvel {

namespace {

const char ActionsScript[] = R"py(
"""Actions of the host application that plug-ins may ask for."""

_question = None  # bound by the host


def closeProject():
    """Closes the open project; True when the main window may close. With
    unsaved changes the host first asks whether to save them."""
    if _question is None:
        return True
    return bool(_question.closeProject())
)py";

const char ArvelScript[] = R"py(
"""The host's console: which messages it prints."""


class ConsoleFilters:
    """The console's output filters, Python expressions over the messages
    `request` (request.command), `resp` (resp.request.command, resp.error)
    and `notify` (notify.id)."""

    def __init__(self):
        self.requestFilter = "request.command in (0x1100,0x1101,)"
        self.responseFilter = "resp.request.command in (0x1101,) or resp.error"
        self.notificationFilter = "notify.id in (0x0,0x1,)"


av_module = ConsoleFilters()


class Message:
    def __init__(self, **fields):
        self.__dict__.update(fields)

    def __repr__(self):
        fields = ", ".join("%s=%r" % item for item in sorted(self.__dict__.items()))
        return "Message(%s)" % fields


_FILTER_NAMES = ("requestFilter", "responseFilter", "notificationFilter")
_compiled = {}
_reported = set()
last_error = ""


def set_console_filters(request, response, notification):
    av_module.requestFilter = request
    av_module.responseFilter = response
    av_module.notificationFilter = notification


def console_filters():
    return [str(getattr(av_module, name, "")) for name in _FILTER_NAMES]


def _names(kind, command, failed, notify_id):
    if kind == 0:
        return {"request": Message(command=command)}
    if kind == 1:
        return {"resp": Message(request=Message(command=command), error=failed)}
    return {"notify": Message(id=notify_id)}


def console_passes(kind, command, failed, notify_id):
    """1 when the message passes, 0 when not; -1 the first time a filter
    text fails, with the reason in last_error (later failures of the same
    text give 0 quietly)."""
    global last_error
    text = getattr(av_module, _FILTER_NAMES[kind], "")
    text = text if isinstance(text, str) else str(text)
    if not text.strip():
        return 1
    try:
        code = _compiled.get(text)
        if code is None:
            code = compile(text.strip(), "<console filter>", "eval")
            _compiled[text] = code
        return 1 if eval(code, globals(), _names(kind, command, failed, notify_id)) else 0
    except Exception as exc:
        if (kind, text) in _reported:
            return 0
        _reported.add((kind, text))
        last_error = "%s: %s" % (type(exc).__name__, exc)
        return -1
)py";

} // namespace

HostPython::HostPython(QObject *parent)
    : QObject(parent)
    , m_closeQuestion(new CloseQuestion(this))
{
}

HostPython::~HostPython()
{
    // The module references must go while the interpreter still runs.
    m_actions = PythonQtObjectPtr();
    m_arvel = PythonQtObjectPtr();
}

bool HostPython::start()
{
    if (!m_started) {
        m_started = true;
        PythonQt::init(PythonQt::IgnoreSiteModule | PythonQt::RedirectStdOut);
        PythonQt *python = PythonQt::self();
        if (!python)
            return false;
        connect(python, &PythonQt::pythonStdOut, this,
                [this](const QString &text) { emit output(text, false); });
        connect(python, &PythonQt::pythonStdErr, this,
                [this](const QString &text) { emit output(text, true); });
        m_actions = python->createModuleFromScript(QStringLiteral("actions"),
                                                   QString::fromUtf8(ActionsScript));
        python->addObject(m_actions, QStringLiteral("_question"), m_closeQuestion);
        m_arvel =
            python->createModuleFromScript(QStringLiteral("arvel"), QString::fromUtf8(ArvelScript));
    }
    return isAvailable();
}

bool HostPython::isAvailable() const
{
    return PythonQt::self() && !m_arvel.isNull();
}

void HostPython::attachProject(Project *project)
{
    if (m_project)
        disconnect(m_project, nullptr, this, nullptr);
    m_project = project;
    m_closeQuestion->setProject(project);
    if (!m_project)
        return;
    const bool projectHasFilters = !project->consoleRequestFilter().isEmpty()
                                   || !project->consoleResponseFilter().isEmpty()
                                   || !project->consoleNotificationFilter().isEmpty();
    if (projectHasFilters)
        pushProjectFilters();
    else
        pullFilters();
    connect(project, &Project::consoleFiltersChanged, this, &HostPython::pushProjectFilters);
}

void HostPython::pushProjectFilters()
{
    if (!m_project)
        return;
    const QStringList current = filters();
    const QStringList wanted = {m_project->consoleRequestFilter(),
                                m_project->consoleResponseFilter(),
                                m_project->consoleNotificationFilter()};
    if (current != wanted)
        setFilters(wanted.at(0), wanted.at(1), wanted.at(2));
}

void HostPython::pullFilters()
{
    const QStringList texts = filters();
    if (!m_project || texts.size() != 3)
        return;
    m_project->setConsoleRequestFilter(texts.at(0));
    m_project->setConsoleResponseFilter(texts.at(1));
    m_project->setConsoleNotificationFilter(texts.at(2));
}

QStringList HostPython::filters() const
{
    if (!isAvailable())
        return QStringList();
    const QVariant texts = PythonQt::self()->call(m_arvel, QStringLiteral("console_filters"));
    const QStringList list = texts.toStringList();
    return list.size() == 3 ? list : QStringList();
}

void HostPython::setFilters(const QString &request, const QString &response,
                            const QString &notification)
{
    if (!isAvailable())
        return;
    PythonQt::self()->call(m_arvel, QStringLiteral("set_console_filters"),
                           QVariantList{request, response, notification});
}

HostPython::Verdict HostPython::requestVerdict(int command, QString *error)
{
    return verdict(FilterKind::Request, command, false, 0, error);
}

HostPython::Verdict HostPython::responseVerdict(int command, bool failed, QString *error)
{
    return verdict(FilterKind::Response, command, failed, 0, error);
}

HostPython::Verdict HostPython::notificationVerdict(int id, QString *error)
{
    return verdict(FilterKind::Notification, 0, false, id, error);
}

HostPython::Verdict HostPython::verdict(FilterKind kind, int command, bool failed, int id,
                                        QString *error)
{
    // Without Python nothing can be filtered; the console then shows everything.
    if (!isAvailable())
        return Verdict::Show;
    PythonQt *python = PythonQt::self();
    const QVariant result = python->call(m_arvel, QStringLiteral("console_passes"),
                                         QVariantList{int(kind), command, failed, id});
    bool ok = false;
    const int answer = result.toInt(&ok);
    if (!ok) {
        // The helper itself failed (the module was replaced?): report that once.
        if (m_helperFailed)
            return Verdict::Hide;
        m_helperFailed = true;
        if (error)
            *error = tr("the console filters cannot be evaluated");
        return Verdict::Error;
    }
    m_helperFailed = false;
    if (answer < 0) {
        if (error)
            *error = python->getVariable(m_arvel, QStringLiteral("last_error")).toString();
        return Verdict::Error;
    }
    return answer > 0 ? Verdict::Show : Verdict::Hide;
}

} // namespace Arvel
