#include "formparts.h"
#include "objectpropertiesdlg.h"
#include "standinhost.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <memory>

// The object dialog's form as the host and its scripts see it: object names,
// captions, the controller type list and the way a stored type is shown.
class tst_ObjectForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void namesAndCaptions_data();
    void namesAndCaptions();
    void offersTwelveControllerTypes();
    void limitsIdentifierAndWidths();
    void setsUpTables();
    void declaresMetaMethodsInOrder();
    void showsStoredType_data();
    void showsStoredType();
    void translatesOnlyTranslatableTexts();

private:
    QStringList m_log;
    std::unique_ptr<Arvel::Light> m_light;
    std::unique_ptr<ObjectPropertiesDlg> m_dialog;
};

void tst_ObjectForm::initTestCase()
{
    m_light.reset(new Arvel::Light(&m_log));
    m_dialog.reset(new ObjectPropertiesDlg(nullptr, m_light.get()));
}

void tst_ObjectForm::namesAndCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");

    const char *const rows[][3] = {
        {"label", "QLabel", "Identifier:"},
        {"label_5", "QLabel", "Type:"},
        {"importFromFolder", "QPushButton", "import from folder"},
        {"fromController", "QPushButton", "from controller"},
        {"label_2", "QLabel", "Description:"},
        {"label_4", "QLabel", "Position:"},
        {"selectPos", "QPushButton", "select"},
        {"label_3", "QLabel", "Schema file:"},
        {"selSchema", "QToolButton", "..."},
        {"rcuControl", "QCheckBox", "RCU control"},
        {"changeEventsMask", "QPushButton", "Change events mask"},
        {"additionalProps", "QPushButton", "Additional properties ..."},
        {"groupBox", "QGroupBox", "Phases"},
        {"addPhase", "QPushButton", "add"},
        {"removePhase", "QPushButton", "remove"},
        {"groupBox_2", "QGroupBox", "Programs"},
        {"addProg", "QPushButton", "add"},
        {"removeProg", "QPushButton", "remove"},
        {"id", "QSpinBox", ""},
        {"type", "QComboBox", ""},
        {"descr", "QLineEdit", ""},
        {"pos", "QLineEdit", ""},
        {"schema", "QLineEdit", ""},
        {"phasesTable", "QTableWidget", ""},
        {"programsTable", "QTableWidget", ""},
        {"buttonBox", "QDialogButtonBox", ""},
        {"verticalLayout", "QVBoxLayout", ""},
        {"horizontalLayout_4", "QHBoxLayout", ""},
        {"horizontalLayout_3", "QHBoxLayout", ""},
        {"horizontalLayout_2", "QHBoxLayout", ""},
        {"horizontalLayout", "QHBoxLayout", ""},
        {"horizontalLayout_5", "QHBoxLayout", ""},
        {"gridLayout", "QGridLayout", ""},
        {"gridLayout_3", "QGridLayout", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1])
                              << QString::fromUtf8(row[2]);
}

void tst_ObjectForm::namesAndCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, caption);

    QObject *object = m_dialog->findChild<QObject *>(name);
    QVERIFY2(object, qPrintable(name));
    QCOMPARE(QString::fromLatin1(object->metaObject()->className()), className);
    if (auto *button = qobject_cast<QAbstractButton *>(object))
        QCOMPARE(button->text(), caption);
    else if (auto *label = qobject_cast<QLabel *>(object))
        QCOMPARE(label->text(), caption);
    else if (auto *box = qobject_cast<QGroupBox *>(object))
        QCOMPARE(box->title(), caption);
}

namespace {

// Marks every text of the dialog's context that goes through translation.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "ObjectPropertiesDlg") != 0)
            return QString();
        return QStringLiteral("T:") + QString::fromUtf8(source);
    }
};

} // namespace

// The Russian controller names of the type list are fixed, except for those
// that differ between deployments; the "..." of the schema button is fixed.
void tst_ObjectForm::translatesOnlyTranslatableTexts()
{
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    QTest::ignoreMessage(QtDebugMsg, "ObjectPropertiesDlg - null light");
    ObjectPropertiesDlg fresh(nullptr, nullptr);
    QCoreApplication::removeTranslator(&translator);

    auto *type = part<QComboBox>(fresh, "type");
    QVERIFY(type);
    QList<int> translated;
    for (int i = 0; i < type->count(); ++i) {
        if (type->itemText(i).startsWith(QLatin1String("T:")))
            translated.append(i);
    }
    QCOMPARE(translated, (QList<int>{4, 6, 7, 8, 11}));

    QCOMPARE(fresh.windowTitle(), QStringLiteral("T:Object properties"));
    QCOMPARE(part<QToolButton>(fresh, "selSchema")->text(), QStringLiteral("..."));
    const QStringList captioned{
        "label",           "label_5",   "importFromFolder", "fromController", "label_2",
        "label_4",         "selectPos", "label_3",          "rcuControl",     "changeEventsMask",
        "additionalProps", "addPhase",  "removePhase",      "addProg",        "removeProg"};
    for (const QString &name : captioned) {
        QObject *object = fresh.findChild<QObject *>(name);
        QVERIFY2(object, qPrintable(name));
        QVERIFY2(object->property("text").toString().startsWith(QLatin1String("T:")),
                 qPrintable(name));
    }
    for (const char *name : {"groupBox", "groupBox_2"})
        QVERIFY(fresh.findChild<QGroupBox *>(name)->title().startsWith(QLatin1String("T:")));
    auto *phases = part<QTableWidget>(fresh, "phasesTable");
    auto *programs = part<QTableWidget>(fresh, "programsTable");
    for (QTableWidget *table : {phases, programs}) {
        for (int column = 0; column < table->columnCount(); ++column)
            QVERIFY(table->horizontalHeaderItem(column)->text().startsWith(QLatin1String("T:")));
    }
}

void tst_ObjectForm::offersTwelveControllerTypes()
{
    QTest::ignoreMessage(QtDebugMsg, "ObjectPropertiesDlg - null light");
    ObjectPropertiesDlg fresh(nullptr, nullptr);
    auto *type = part<QComboBox>(fresh, "type");
    QVERIFY(type);
    QVERIFY(!type->isEditable());
    QCOMPARE(type->currentIndex(), 0);

    QStringList labels;
    for (int i = 0; i < type->count(); ++i) {
        labels.append(type->itemText(i));
        QVERIFY(!type->itemData(i).isValid());
    }
    const QStringList expected{
        "Арвел",       "Арвел V3.15", "Арвел V3.16", "Арвел V3.17", "Арвел V3.18",    "Шлюз-ЛТ9",
        "Шлюз-Вектор", "LT_COG",      "Arvel2",      "TriLink4",    "Halden Traffic", "ПТК",
    };
    QCOMPARE(labels, expected);
}

void tst_ObjectForm::limitsIdentifierAndWidths()
{
    QCOMPARE(m_dialog->objectName(), QStringLiteral("ObjectPropertiesDlg"));
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Object properties"));
    QCOMPARE(m_dialog->size(), QSize(666, 611));

    auto *id = part<QSpinBox>(*m_dialog, "id");
    QVERIFY(id);
    QCOMPARE(id->minimum(), 0);
    QCOMPARE(id->maximum(), 999999999);
    QCOMPARE(id->buttonSymbols(), QAbstractSpinBox::NoButtons);

    const QList<QPair<QString, int>> minimumWidths{
        {"id", 100}, {"descr", 430}, {"pos", 160}, {"schema", 390}};
    for (const auto &entry : minimumWidths) {
        auto *widget = m_dialog->findChild<QWidget *>(entry.first);
        QVERIFY(widget);
        QCOMPARE(widget->minimumWidth(), entry.second);
    }

    auto *buttons = part<QDialogButtonBox>(*m_dialog, "buttonBox");
    QVERIFY(buttons);
    QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons->orientation(), Qt::Horizontal);
}

void tst_ObjectForm::setsUpTables()
{
    auto *phases = part<QTableWidget>(*m_dialog, "phasesTable");
    auto *programs = part<QTableWidget>(*m_dialog, "programsTable");
    QVERIFY(phases && programs);

    const auto headers = [](const QTableWidget *table) {
        QStringList texts;
        for (int column = 0; column < table->columnCount(); ++column)
            texts.append(table->horizontalHeaderItem(column)->text());
        return texts;
    };
    QCOMPARE(headers(phases), (QStringList{"id", "description", "schema"}));
    QCOMPARE(headers(programs), (QStringList{"id", "description"}));

    QCOMPARE(phases->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(programs->contextMenuPolicy(), Qt::DefaultContextMenu);
    for (const QTableWidget *table : {phases, programs}) {
        QCOMPARE(table->verticalScrollMode(), QAbstractItemView::ScrollPerPixel);
        QCOMPARE(table->horizontalScrollMode(), QAbstractItemView::ScrollPerPixel);
        QCOMPARE(table->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectItems);
    }

    const QList<QAction *> actions = phases->actions();
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions.first()->text(), QStringLiteral("Select schema"));
    QCOMPARE(actions.first()->parent(), phases);
}

void tst_ObjectForm::declaresMetaMethodsInOrder()
{
    // Scripts of the host reach the dialog by these names and indexes.
    const QMetaObject *meta = m_dialog->metaObject();
    QCOMPARE(meta->className(), "ObjectPropertiesDlg");
    QStringList methods;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        QCOMPARE(method.access(), QMetaMethod::Private);
        QCOMPARE(method.methodType(),
                 i - meta->methodOffset() < 16 ? QMetaMethod::Slot : QMetaMethod::Method);
        methods.append(QString::fromLatin1(method.methodSignature()));
    }
    const QStringList expected{
        "on_selSchema_clicked()",
        "on_addPhase_clicked()",
        "on_removePhase_clicked()",
        "on_addProg_clicked()",
        "on_removeProg_clicked()",
        "on_importFromFolder_clicked()",
        "on_phasesTable_cellActivated(int,int)",
        "on_changeEventsMask_clicked()",
        "on_fromController_clicked()",
        "getRefer()",
        "getPhases()",
        "getPrograms()",
        "getCpu()",
        "clearControllerExchangeQueue()",
        "on_selectPos_clicked()",
        "on_additionalProps_clicked()",
        "stopPositionEdit()",
    };
    QCOMPARE(methods, expected);
    QCOMPARE(meta->propertyCount(), meta->propertyOffset());
}

void tst_ObjectForm::showsStoredType_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("count");

    QTest::newRow("empty") << "" << 0 << 12;
    QTest::newRow("fixed label") << "Шлюз-ЛТ9" << 5 << 12;
    QTest::newRow("translatable label") << "Шлюз-Вектор" << 6 << 12;
    QTest::newRow("last label") << "ПТК" << 11 << 12;
    // Another letter case is another type: it is kept as it is, not replaced.
    QTest::newRow("other letter case") << "lt_cog" << 12 << 13;
    QTest::newRow("unknown type") << "Brand X 2" << 12 << 13;
}

void tst_ObjectForm::showsStoredType()
{
    QFETCH(QString, stored);
    QFETCH(int, current);
    QFETCH(int, count);

    Arvel::Light object(&m_log);
    object.preset("id", 5);
    object.preset("type", stored);
    ObjectPropertiesDlg edit(nullptr, &object);
    auto *type = part<QComboBox>(edit, "type");
    QVERIFY(type);
    const QString shown = stored.isEmpty() ? QStringLiteral("Арвел") : stored;
    QCOMPARE(type->count(), count);
    QCOMPARE(type->currentIndex(), current);
    QCOMPARE(type->currentText(), shown);
    QVERIFY(!type->itemData(current).isValid());

    // Applied unchanged, the object gets the label it was shown with.
    m_log.clear();
    edit.accept();
    QCOMPARE(m_log.filter(QStringLiteral("light.type")),
             QStringList{QStringLiteral("light.type = QString ") + shown});
}

QTEST_MAIN(tst_ObjectForm)
#include "tst_objectform.moc"
