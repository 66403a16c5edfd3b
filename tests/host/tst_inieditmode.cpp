// editor2-host --edit-ini FILE on the paths a user may give: the editor opens
// only on a file it can read or a new file in an existing folder.

#include "inieditmode.h"
#include "modaldriver.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

QStringList warnings;

void noteWarning(QtMsgType, const QMessageLogContext &, const QString &message)
{
    warnings << message;
}

} // namespace

class tst_IniEditMode : public QObject
{
    Q_OBJECT

private slots:
    void editsOnlyAPathItCanUse_data();
    void editsOnlyAPathItCanUse();

private:
    QTemporaryDir m_dir;
};

void tst_IniEditMode::editsOnlyAPathItCanUse_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("cause"); // empty: the editor opens, and OK is pressed

    QString unreadable = m_dir.filePath("unreadable.ini");
    QFile file(unreadable);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.setPermissions({}));
    file.close();
    // Root reads any file; this one the kernel refuses to read even to root.
    if (file.open(QIODevice::ReadOnly))
        unreadable = QStringLiteral("/proc/sys/vm/compact_memory");
    QTest::newRow("folder") << m_dir.path() << "it is a folder";
    QTest::newRow("file that cannot be read") << unreadable << "Permission denied";
    QTest::newRow("new file in a missing folder")
        << m_dir.filePath("missing/new.ini")
        << "the folder " + m_dir.filePath("missing") + " does not exist";
    QTest::newRow("new file in an existing folder: created on OK, no warning")
        << m_dir.filePath("new.ini") << "";
}

void tst_IniEditMode::editsOnlyAPathItCanUse()
{
    QFETCH(QString, path);
    QFETCH(QString, cause);

    const QString problem = IniEditMode::pathProblem(path);
    QCOMPARE(problem.isEmpty(), cause.isEmpty());
    QVERIFY2(cause.isEmpty() || problem == "editor2-host: cannot edit " + path + ": " + cause,
             qPrintable(problem));
    const QString folder = QFileInfo(path).absolutePath();
    const bool existed = QFileInfo::exists(path);
    const bool folderExisted = QFileInfo::exists(folder);
    int shownItems = -1;
    ModalDriver driver([&shownItems](QWidget *dialog) {
        shownItems = dialog->findChild<QTreeWidget *>("propTree")->topLevelItemCount();
        ModalDriver::press(dialog, QDialogButtonBox::Ok);
    });
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(noteWarning);
    const int code = IniEditMode::run(path);
    qInstallMessageHandler(previous);
    QCOMPARE(code, int(cause.isEmpty() ? IniEditMode::Accepted : IniEditMode::NoEditor));
    QCOMPARE(shownItems, cause.isEmpty() ? 0 : -1);
    QCOMPARE(QFileInfo::exists(path), existed || cause.isEmpty());
    QCOMPARE(QFileInfo::exists(folder), folderExisted);
    QVERIFY2(!warnings.join('\n').contains("not open"), qPrintable(warnings.join('\n')));
}

QTEST_MAIN(tst_IniEditMode)
#include "tst_inieditmode.moc"
