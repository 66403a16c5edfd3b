#include "objectidentifier.h"
#include "objectrecord.h"
#include "standinhost.h"

#include <QtTest>

#include <memory>

namespace {

// A light of the kind a row names, with the phases and programs it holds.
std::unique_ptr<Arvel::LightProperties> makeLight(const QString &kind, QStringList *log)
{
    std::unique_ptr<Arvel::LightProperties> light;
    if (kind == QLatin1String("without lists"))
        light = std::make_unique<Arvel::LightWithoutLists>(log);
    else if (kind == QLatin1String("foreign phases"))
        light = std::make_unique<Arvel::LightWithForeignPhases>(log);
    else
        light = std::make_unique<Arvel::Light>(log);
    light->presetPhase(9, QStringLiteral("old"), QString());
    light->presetProgram(9, QStringLiteral("old"));
    return light;
}

// What the dialog hands over for an object applied unchanged.
ObjectRecord plainRecord()
{
    ObjectRecord record;
    record.id = 5;
    record.phases = QVector<ObjectRecord::Row>();
    record.programs = QVector<ObjectRecord::Row>();
    return record;
}

} // namespace

class tst_ObjectRecord : public QObject
{
    Q_OBJECT

private slots:
    void marksObjectWithoutIdentifierAsNew_data();
    void marksObjectWithoutIdentifierAsNew();

    void writesInOrderAndSkips_data();
    void writesInOrderAndSkips();
    void writesPendingEventMask_data();
    void writesPendingEventMask();
    void writesCustomProperties_data();
    void writesCustomProperties();

private:
    QStringList m_log;
};

void tst_ObjectRecord::marksObjectWithoutIdentifierAsNew_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("isNew");

    QTest::newRow("zero") << QVariant(0) << 0 << true;
    QTest::newRow("negative") << QVariant(-5) << -5 << true;
    QTest::newRow("missing") << QVariant() << 0 << true;
    QTest::newRow("seven") << QVariant(7) << 7 << false;
    // Beyond what the dialog's field shows, kept for the write.
    QTest::newRow("above the field's maximum") << QVariant(1234567890) << 1234567890 << false;
}

void tst_ObjectRecord::marksObjectWithoutIdentifierAsNew()
{
    QFETCH(QVariant, stored);
    QFETCH(int, id);
    QFETCH(bool, isNew);

    Arvel::Light light(nullptr);
    if (stored.isValid())
        light.preset("id", stored);
    const ObjectRecord record = readObject(&light);
    QCOMPARE(record.id, id);
    QCOMPARE(!ObjectIdentifier::isValid(record.id), isNew);
}

void tst_ObjectRecord::writesInOrderAndSkips_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("written");

    const QStringList plainProperties{"light.id = int 5", "light.type = QString ",
                                      "light.description = QString ", "light.shema = QString ",
                                      "light.RcdControl = int 0"};
    // Clearing lists that cannot be built again would only lose them.
    QTest::newRow("object that cannot create list entries")
        << "without lists" << plainProperties + QStringList{"light.customProperties()"};
    QTest::newRow("failing createPhase goes on")
        << "foreign phases"
        << plainProperties
               + QStringList{"light.clearPhases()", "light.clearPrograms()",
                             "light.createProgram(3, Day)", "light.customProperties()",
                             "light.setCustomProperty(a, int 1, one)"};
}

void tst_ObjectRecord::writesInOrderAndSkips()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, written);

    std::unique_ptr<Arvel::LightProperties> light = makeLight(kind, &m_log);
    ObjectRecord record = plainRecord();
    record.phases = QVector<ObjectRecord::Row>{{"1", "North", ""}, {"2", "South", ""}};
    record.programs = QVector<ObjectRecord::Row>{{"3", "Day", ""}};
    record.customProperties.insert(QStringLiteral("a"), QVariantList{1, QStringLiteral("one")});
    m_log.clear();
    if (kind == QLatin1String("foreign phases")) {
        QTest::ignoreMessage(QtDebugMsg, "Error creating phase");
        QTest::ignoreMessage(QtDebugMsg, "Error creating phase");
    }

    writeObject(light.get(), record);

    QCOMPARE(m_log, written);
}

void tst_ObjectRecord::writesPendingEventMask_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QVariant>("useCount");
    QTest::addColumn<uint>("mask");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("signal-group bit set")
        << true << QVariant(2) << 0x21u
        << QStringList{"light.tlo_use_sg_cnt = int 3", "light.eventMask = uint 33"};
    QTest::newRow("signal-group bit clear")
        << true << QVariant(2) << 0x01u
        << QStringList{"light.tlo_use_sg_cnt = int 0", "light.eventMask = uint 1"};
    QTest::newRow("use count at its largest stays there")
        << true << QVariant(2147483647) << 0x20u
        << QStringList{"light.tlo_use_sg_cnt = int 2147483647", "light.eventMask = uint 32"};
    QTest::newRow("use count missing")
        << true << QVariant() << 0xffff0020u
        << QStringList{"light.tlo_use_sg_cnt = int 1", "light.eventMask = uint 4294901792"};
    QTest::newRow("nothing pending") << false << QVariant(2) << 0x21u << QStringList();
}

void tst_ObjectRecord::writesPendingEventMask()
{
    QFETCH(bool, changed);
    QFETCH(QVariant, useCount);
    QFETCH(uint, mask);
    QFETCH(QStringList, written);

    Arvel::Light light(&m_log);
    if (useCount.isValid())
        light.preset("tlo_use_sg_cnt", useCount);
    ObjectRecord record = plainRecord();
    record.eventMask = mask;
    record.eventMaskChanged = changed;
    m_log.clear();

    writeObject(&light, record);

    QCOMPARE(m_log.filter(QRegularExpression(QStringLiteral("tlo_use|eventMask"))), written);
    // The mask comes after the lists and before the custom properties.
    if (changed) {
        QCOMPARE(m_log.indexOf(written.first()),
                 m_log.indexOf(QStringLiteral("light.clearPrograms()")) + 1);
        QCOMPARE(m_log.indexOf(written.last()) + 1,
                 m_log.indexOf(QStringLiteral("light.customProperties()")));
    }
}

void tst_ObjectRecord::writesCustomProperties_data()
{
    QTest::addColumn<bool>("editorAccepted");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("editor accepted: removed names go")
        << true
        << QStringList{"light.customProperties()", "light.setCustomProperty(b, QString 2, bee)",
                       "light.setCustomProperty(c, int 3, 7)",
                       "light.setCustomProperty(a, invalid, )"};
    QTest::newRow("editor not accepted: nothing removed")
        << false
        << QStringList{"light.customProperties()", "light.setCustomProperty(b, QString 2, bee)",
                       "light.setCustomProperty(c, int 3, 7)"};
}

void tst_ObjectRecord::writesCustomProperties()
{
    QFETCH(bool, editorAccepted);
    QFETCH(QStringList, calls);

    Arvel::Light light(&m_log);
    light.presetCustomProperties({
        {QStringLiteral("a"), QVariantList{QStringLiteral("1"), QStringLiteral("ay")}},
        {QStringLiteral("b"), QVariantList{QStringLiteral("1"), QStringLiteral("bee")}},
    });
    ObjectRecord record = plainRecord();
    record.customProperties = {
        {QStringLiteral("b"), QVariantList{QStringLiteral("2"), QStringLiteral("bee")}},
        // The value goes through as it is; the description as text.
        {QStringLiteral("c"), QVariantList{3, 7, QStringLiteral("ignored")}},
        {QStringLiteral("bad"), QStringLiteral("no list")},
        {QStringLiteral("short"), QVariantList{1}},
    };
    record.customPropertiesChanged = editorAccepted;
    m_log.clear();

    QTest::ignoreMessage(QtWarningMsg, "Invalid propery bad value");
    QTest::ignoreMessage(QtWarningMsg, "Invalid propery short value");
    writeObject(&light, record);

    const int first = m_log.indexOf(QStringLiteral("light.customProperties()"));
    QVERIFY(first >= 0);
    QCOMPARE(m_log.mid(first), calls);
}

QTEST_APPLESS_MAIN(tst_ObjectRecord)
#include "tst_objectrecord.moc"
