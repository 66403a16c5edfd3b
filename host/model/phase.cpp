#include "phase.h"

namespace Arvel {

Phase::Phase(int id, const QString &description, QObject *parent)
    : QObject(parent)
    , m_id(id)
    , m_description(description)
{
}

Program::Program(int id, const QString &description, QObject *parent)
    : QObject(parent)
    , m_id(id)
    , m_description(description)
{
}

} // namespace Arvel
