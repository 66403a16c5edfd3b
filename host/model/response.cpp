#include "response.h"

Response::Response(QObject *parent)
    : QObject(parent)
{
}

void Response::finish(const QVariantList &data, bool error)
{
    if (m_finished)
        return;
    m_finished = true;
    m_data = data;
    m_error = error;
    emit finished();
}
