#include "controllerdevice.h"

namespace ControllerDevice {

bool isRecognised(const QString &deviceName)
{
    const QString name = deviceName.toLower();
    return name == QLatin1String("arvel2") || name.contains(QString::fromUtf8("арвел"));
}

} // namespace ControllerDevice
