#pragma once

#include <QString>

// Which controllers the object dialog reads phases and programs from: those
// whose device name, whatever its letter case, is "arvel2" or contains
// "арвел". Others still give their description and position.
namespace ControllerDevice {

bool isRecognised(const QString &deviceName);

} // namespace ControllerDevice
