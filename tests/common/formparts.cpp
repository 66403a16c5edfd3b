#include "formparts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCursor>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

void press(const QObject &form, const char *button)
{
    auto *found = part<QAbstractButton>(form, button);
    QVERIFY2(found, button);
    found->click();
}

void press(const QObject &form, QDialogButtonBox::StandardButton which)
{
    auto *box = part<QDialogButtonBox>(form, "buttonBox");
    QVERIFY2(box && box->button(which), "no such button in the buttonBox");
    box->button(which)->click();
}

QStringList rowTexts(const QTableWidget *table, int columns)
{
    if (!table)
        return {QStringLiteral("<no table>")};
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < (columns < 0 ? table->columnCount() : columns); ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            cells << (item ? item->text() : QStringLiteral("<no item>"));
        }
        texts << cells.join(QLatin1Char('|'));
    }
    return texts;
}

QStringList checkedTexts(const QGridLayout *grid)
{
    if (!grid)
        return {QStringLiteral("<no grid>")};
    QStringList texts;
    for (int i = 0; i < grid->count(); ++i) {
        const auto *box = qobject_cast<QCheckBox *>(grid->itemAt(i)->widget());
        if (box && box->isChecked())
            texts << box->text();
    }
    return texts;
}

QCheckBox *boxWithText(const QObject *parent, const QString &text)
{
    const QList<QCheckBox *> boxes = parent->findChildren<QCheckBox *>();
    for (QCheckBox *box : boxes) {
        if (box->text() == text)
            return box;
    }
    return nullptr;
}

int overrideCursorShape()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? int(cursor->shape()) : -1;
}

void quietOffscreenWarnings()
{
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.contains(QLatin1String("propagateSizeHints")))
                previous(type, context, message);
        });
}
