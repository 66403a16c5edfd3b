#pragma once

#include <QString>

#include <memory>

class MainWindow;
class ScreenshotTour;

// The screenshot run of the reference host: the main window with a selected
// controller and its phase preview, then every dialog of the plug-in, each
// opened from the host as a user would open it. The program exits when the
// tour ends, with 1 when a picture is missing.
namespace HostTour {

// Starts the tour from the event loop; pictures go to `folder`, or to
// ./screenshots when it is empty.
std::unique_ptr<ScreenshotTour> start(MainWindow *window, const QString &folder);

} // namespace HostTour
