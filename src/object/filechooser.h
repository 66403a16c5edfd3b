#pragma once

#include <QString>

class QWidget;

// Asks the user for a file or a folder through Qt's file dialogs, or through
// the chooser a test or benchmark puts in its place. An empty text means
// cancelled, or gone with its parent meanwhile.
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
