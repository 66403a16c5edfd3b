#pragma once

#include <QString>

#include <memory>

class MainWindow;
class ScreenshotTour;

// The host's screenshot run: the main window, then every dialog of the
// plug-in opened as a user would; the program exits with 1 when a picture is
// missing.
namespace HostTour {

// Starts the tour from the event loop; pictures go to `folder`, or to
// ./screenshots when it is empty.
std::unique_ptr<ScreenshotTour> start(MainWindow *window, const QString &folder);

} // namespace HostTour
