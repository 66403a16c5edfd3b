#pragma once

#include <QStringList>

// The host stores a controller's type as text, never as an index into the
// dialog's list, so a type the list does not know must survive an edit.
namespace ControllerTypes {

// The item to make current for the stored type: 0 for an empty type, the
// first label equal to it (case-sensitive, whole label), or labels.size()
// when the type has to be appended as an item of its own.
int itemForType(const QStringList &labels, const QString &type);

} // namespace ControllerTypes
