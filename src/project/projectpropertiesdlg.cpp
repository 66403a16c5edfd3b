#include "projectpropertiesdlg.h"
#include "ui_projectpropertiesdlg.h"

#include "hostcontract.h"
#include "inputmark.h"
#include "pythoncall.h"
#include "serveraddress.h"

#include <QDebug>

namespace {

// Carries a filter text into Python as a value, so that no text is ever run
// as code.
const char valueName[] = "_editor2_filter_text";

struct FilterPlace
{
    const char *python;
    const HostCall::Property &property;
};

const FilterPlace filterPlaces[3] = {
    {Host::Python::RequestFilter, Host::Project::RequestFilter},
    {Host::Python::ResponseFilter, Host::Project::ResponseFilter},
    {Host::Python::NotificationFilter, Host::Project::NotificationFilter},
};

// Imports av_module into the main module; false when there is no interpreter
// or the import fails.
bool importModule(const PythonCall::MainModule &main)
{
    return main.run(QLatin1String(Host::Python::ImportFilterModule));
}

} // namespace

ProjectPropertiesDlg::ProjectPropertiesDlg(QWidget *parent, QObject *project)
    : QDialog(parent)
    , ui(new Ui::ProjectPropertiesDlg)
    , m_project(project)
{
    ui->setupUi(this);

    if (!project) {
        qDebug("ProjectPropertiesDlg - null project");
        return;
    }
    // A project the host closes meanwhile leaves nothing to edit.
    connect(project, &QObject::destroyed, this, &QDialog::reject);
    connect(ui->serverUrl, &QLineEdit::textChanged, this, &ProjectPropertiesDlg::markServerUrl);
    ui->name->setText(HostCall::read(m_project, Host::Project::Title).toString());
    ui->projectFile->setText(HostCall::read(m_project, Host::Project::FileName).toString());

    m_connection = HostCall::read(m_project, Host::Project::Connection).value<QObject *>();
    if (!m_connection) {
        qDebug("ProjectPropertiesDlg - invalid connection");
        // The filters are not read, so their tabs are shown disabled: OK
        // leaves them untouched.
        ui->filterWidget->setFilters(QString(), QString(), QString());
        return;
    }
    m_shownServerUrl =
        ServerAddress::toText(HostCall::read(m_connection, Host::Connection::RemoteHost).toString(),
                              HostCall::read(m_connection, Host::Connection::RemotePort).toInt());
    ui->serverUrl->setText(m_shownServerUrl);

    readFilters();
}

ProjectPropertiesDlg::~ProjectPropertiesDlg() = default;

// A server address that OK will not store is marked, saying why.
void ProjectPropertiesDlg::markServerUrl(const QString &text)
{
    QString host;
    int port = -1;
    QString problem;
    if (!m_connection) {
        if (!text.isEmpty())
            problem = tr("The project has no controller connection.\n"
                         "The address will not be stored.");
    } else if (text != m_shownServerUrl && !ServerAddress::parse(text, &host, &port)) {
        problem = tr("Expected a host and a port, for example //10.0.0.5:4000.\n"
                     "The address will stay as it is.");
    }
    InputMark::mark(ui->serverUrl, problem);
}

void ProjectPropertiesDlg::readFilters()
{
    QString texts[3];
    const PythonCall::MainModule main;
    if (importModule(main)) {
        for (int i = 0; i < 3; ++i) {
            texts[i] =
                main.evaluate(QLatin1String(filterPlaces[i].python), &m_filterRead[i]).toString();
        }
        main.unbind(QLatin1String(Host::Python::FilterModule));
    }
    ui->filterWidget->setFilters(texts[0], texts[1], texts[2]);
}

void ProjectPropertiesDlg::writeFilters()
{
    const PythonCall::MainModule main;
    const bool anyRead = m_filterRead[0] || m_filterRead[1] || m_filterRead[2];
    const bool imported = anyRead && importModule(main);

    ui->filterWidget->buildFilters();
    const QString filters[3] = {ui->filterWidget->requestFilter(),
                                ui->filterWidget->responseFilter(),
                                ui->filterWidget->notificationFilter()};
    for (int i = 0; i < 3; ++i) {
        if (!m_filterRead[i])
            continue;
        if (imported) {
            main.bind(QLatin1String(valueName), filters[i]);
            main.run(QLatin1String(filterPlaces[i].python) + QLatin1String(" = ")
                     + QLatin1String(valueName) + QLatin1Char('\n'));
            main.unbind(QLatin1String(valueName));
        }
        HostCall::write(m_project, filterPlaces[i].property, filters[i]);
    }
    if (imported)
        main.unbind(QLatin1String(Host::Python::FilterModule));
}

void ProjectPropertiesDlg::accept()
{
    // Without a project there is nothing to write; only Cancel closes.
    if (!m_project)
        return;

    writeFilters();
    HostCall::write(m_project, Host::Project::Title, ui->name->text());

    const QString serverText = ui->serverUrl->text();
    if (m_connection && serverText != m_shownServerUrl) {
        QString host;
        int port = -1;
        if (ServerAddress::parse(serverText, &host, &port)) {
            HostCall::write(m_connection, Host::Connection::RemoteHost, host);
            HostCall::write(m_connection, Host::Connection::RemotePort, port);
        }
    }
    HostCall::write(m_project, Host::Project::Changed, true);
    QDialog::accept();
}
