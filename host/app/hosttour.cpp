#include "hosttour.h"

#include "crossview.h"
#include "light.h"
#include "mainwindow.h"
#include "project.h"
#include "screenshottour.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

namespace HostTour {

namespace {

void addTourSteps(ScreenshotTour *tour, MainWindow *window)
{
    Arvel::Project *project = window->project();
    Arvel::Light *first = project->lights().value(0);

    tour->addWindow(QStringLiteral("main-window.png"), window, 2500, [window, first] {
        // Show the preview and a selection, so that the picture shows them.
        window->selectLight(first);
        window->crossView()->setLight(first);
        window->crossView()->previewPhase(1);
    });
    tour->addDialog(
        QStringLiteral("object-dialog.png"),
        [window, first] {
            window->crossView()->previewPhase(-1);
            // A phase previewed from the dialog, as a user does with its button.
            QTimer::singleShot(100, window, [] {
                QWidget *dialog = QApplication::activeModalWidget();
                auto *phases =
                    dialog ? dialog->findChild<QTableWidget *>(QStringLiteral("phasesTable"))
                           : nullptr;
                if (!phases)
                    return;
                phases->setCurrentCell(0, 1);
                if (auto *preview = dialog->findChild<QPushButton *>(QStringLiteral("preview")))
                    preview->click();
            });
            window->editLight(first);
        },
        ScreenshotTour::Close::DoneZero);
    // The object dialog's own editors, opened from it as a user would: a click
    // on its button once it shows; the click returns when the tour has closed
    // the editor, and the object dialog is closed after it.
    const auto fromObjectDialog = [window, first](const QString &button) {
        return [window, first, button] {
            QTimer::singleShot(200, window, [button] {
                QPointer<QDialog> dialog =
                    qobject_cast<QDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                if (auto *push = dialog->findChild<QPushButton *>(button))
                    push->click();
                if (dialog)
                    dialog->reject();
            });
            window->editLight(first);
        };
    };
    tour->addDialog(QStringLiteral("events-mask.png"),
                    fromObjectDialog(QStringLiteral("changeEventsMask")));
    tour->addDialog(QStringLiteral("custom-properties.png"),
                    fromObjectDialog(QStringLiteral("additionalProps")));
    tour->addDialog(QStringLiteral("project-dialog.png"), [window] { window->editProject(); });
    // The settings editor's tree opens collapsed; the pictures show it open.
    const auto expandingSettings = [window](auto open) {
        return [window, open] {
            QTimer::singleShot(100, window, [] {
                QWidget *dialog = QApplication::activeModalWidget();
                if (auto *tree = dialog
                                     ? dialog->findChild<QTreeWidget *>(QStringLiteral("propTree"))
                                     : nullptr)
                    tree->expandAll();
            });
            open();
        };
    };
    tour->addDialog(QStringLiteral("settings-dialog.png"),
                    expandingSettings([window] { window->editUserSettings(); }));
    tour->addDialog(QStringLiteral("ini-file-dialog.png"), expandingSettings([window, project] {
                        window->openIniFile(project->fileName());
                    }));
    tour->addDialog(QStringLiteral("map-properties.png"),
                    [window] { window->editMapProperties(); });
    // A preset added and its centre not typed yet: the picture shows how a
    // value that OK will not store is marked.
    tour->addDialog(QStringLiteral("presets.png"), [window] {
        QTimer::singleShot(100, window, [] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (auto *add = dialog ? dialog->findChild<QPushButton *>(QStringLiteral("addCustom"))
                                   : nullptr)
                add->click();
        });
        window->editPresets();
    });
}

} // namespace

std::unique_ptr<ScreenshotTour> start(MainWindow *window, const QString &folder)
{
    window->resize(1280, 820);
    auto tour = std::make_unique<ScreenshotTour>(
        folder.isEmpty() ? QDir::current().absoluteFilePath(QStringLiteral("screenshots"))
                         : folder);
    addTourSteps(tour.get(), window);
    QObject::connect(tour.get(), &ScreenshotTour::finished, qApp,
                     [](int failures) { QCoreApplication::exit(failures == 0 ? 0 : 1); });
    QTimer::singleShot(0, tour.get(), &ScreenshotTour::start);
    return tour;
}

} // namespace HostTour
