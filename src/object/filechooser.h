#pragma once

#include <QString>

class QWidget;

// Asks the user for a file to open or for an existing folder through Qt's
// file dialogs. The object dialog asks through current(), so that a test or a
// benchmark can answer in the user's place with a chooser of its own. An
// empty text means the user cancelled, or the dialog went with its parent
// while it ran; a caller that may have gone with it checks that itself.
class FileChooser
{
public:
    virtual ~FileChooser();

    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter);
    virtual QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir);

    // The chooser in use: Qt's dialogs unless replaced.
    static FileChooser *current();
    // Replaces the chooser in use, without taking it over; null brings back
    // Qt's dialogs.
    static void setCurrent(FileChooser *chooser);
};
