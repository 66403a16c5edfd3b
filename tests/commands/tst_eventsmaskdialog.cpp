#include "eventsmaskdialog.h"
#include "formparts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QPushButton>
#include <QtTest>

class tst_EventsMaskDialog : public QObject
{
    Q_OBJECT

private slots:
    void buildsForm();
    void editsMask_data();
    void editsMask();
};

void tst_EventsMaskDialog::buildsForm()
{
    EventsMaskDialog dialog(nullptr, 0);
    QCOMPARE(dialog.objectName(), QStringLiteral("EventsMaskDialog"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Events mask editor"));
    QCOMPARE(dialog.size(), QSize(535, 394));

    auto *frame = part<QFrame>(dialog, "frame");
    auto *grid = part<QGridLayout>(dialog, "gridLayout");
    QVERIFY(frame && grid);
    QCOMPARE(grid->parentWidget(), frame);
    // Two columns: 12 boxes, then the last four.
    QCOMPARE(grid->count(), 16);
    QCOMPARE(grid->columnCount(), 2);
    QCOMPARE(qobject_cast<QCheckBox *>(grid->itemAtPosition(0, 0)->widget())->text(),
             QStringLiteral("Включение"));
    QCOMPARE(qobject_cast<QCheckBox *>(grid->itemAtPosition(3, 1)->widget())->text(),
             QStringLiteral("Данные о транспортном потоке"));

    const QList<QPair<QString, QString>> buttons{
        {"clearAll", "Clear all"}, {"selectAll", "Select All"}, {"invertAll", "Invert All"}};
    for (const auto &button : buttons) {
        auto *push = dialog.findChild<QPushButton *>(button.first);
        QVERIFY2(push, qPrintable(button.first));
        QCOMPARE(push->text(), button.second);
    }
    auto *box = part<QDialogButtonBox>(dialog, "buttonBox");
    QVERIFY(box);
    QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
}

void tst_EventsMaskDialog::editsMask_data()
{
    QTest::addColumn<uint>("given");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("clicks"); // button object names or box texts
    QTest::addColumn<bool>("accept");
    QTest::addColumn<uint>("result");

    const QStringList bits0and5{"Включение", "Группа"};
    QTest::newRow("accepted at once") << 0x21u << bits0and5 << QStringList() << true << 0x21u;
    // Bits without a box come back as they were given.
    QTest::newRow("high bit kept when accepted at once")
        << 0x10021u << bits0and5 << QStringList() << true << 0x10021u;
    QTest::newRow("select all keeps high bits")
        << 0x10021u << bits0and5 << QStringList{"selectAll"} << true << 0x1ffffu;
    QTest::newRow("select all") << 0u << QStringList() << QStringList{"selectAll"} << true
                                << 0xffffu;
    QTest::newRow("clear all keeps high bits")
        << 0xffff0021u << bits0and5 << QStringList{"clearAll"} << true << 0xffff0000u;
    QTest::newRow("invert all") << 0x21u << bits0and5 << QStringList{"invertAll"} << true
                                << 0xffdeu;
    QTest::newRow("invert twice restores")
        << 0x80000021u << bits0and5 << QStringList{"invertAll", "invertAll"} << true << 0x80000021u;
    QTest::newRow("one box unchecked")
        << 0x21u << bits0and5 << QStringList{"Группа"} << true << 0x1u;
    QTest::newRow("last box checked")
        << 0u << QStringList() << QStringList{"Данные о транспортном потоке"} << true << 0x8000u;
    QTest::newRow("cancel keeps the given mask")
        << 0x10021u << bits0and5 << QStringList{"selectAll"} << false << 0x10021u;
}

void tst_EventsMaskDialog::editsMask()
{
    QFETCH(uint, given);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, clicks);
    QFETCH(bool, accept);
    QFETCH(uint, result);

    EventsMaskDialog dialog(nullptr, given);
    dialog.show();
    QCOMPARE(checkedTexts(part<QGridLayout>(dialog, "gridLayout")), shown);

    for (const QString &click : clicks) {
        if (auto *button = dialog.findChild<QPushButton *>(click)) {
            button->click();
        } else {
            QCheckBox *box = boxWithText(&dialog, click);
            QVERIFY2(box, qPrintable(click));
            box->click();
        }
    }
    press(dialog, accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);

    QCOMPARE(dialog.result(), int(accept ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog.mask(), quint32(result));
}

QTEST_MAIN(tst_EventsMaskDialog)
#include "tst_eventsmaskdialog.moc"
