#include "commandtables.h"
#include "filterexpression.h"

#include <QSet>
#include <QtTest>

using FilterExpression::Kind;

Q_DECLARE_METATYPE(Kind)

class tst_FilterExpression : public QObject
{
    Q_OBJECT

private slots:
    void requestTableKeepsItsOrderAndCodes();
    void notificationIdsAreBitNumbers();
    void descriptionsKeepTheirPunctuation();

    void readsExpression_data();
    void readsExpression();

    void substitutesDecimalCode_data();
    void substitutesDecimalCode();

    void buildsFilter_data();
    void buildsFilter();
};

void tst_FilterExpression::requestTableKeepsItsOrderAndCodes()
{
    const QList<CommandDesc> rows = CommandTables::requests();
    QStringList names;
    QSet<int> codes;
    for (const CommandDesc &row : rows) {
        names << row.name;
        codes << row.code;
    }
    // The order is that of the check boxes, not of the codes.
    const QStringList expected =
        QStringLiteral(
            "SET_LOCAL SET_PHASE SET_PROG SET_GROUP SET_YF SET_OS SET_START SET_DATE SET_TIME "
            "SET_CONFIG SET_VERB SET_EVENT SET_TOUT SET_DPROG SET_DDMAP SET_DSDY SET_TDTIME "
            "SET_VPU "
            "SET_EVTCFG SET_QUERY SET_PASSKY DAT_TRANSF GET_STAT GET_REFER GET_GROUP GET_SENS "
            "GET_SWITCH GET_TDET GET_DATE GET_JRNL GET_CONFIG GET_TWP GET_DEVICE GET_CLIST GET_VPU "
            "GET_QUERY GET_PASSDB GET_PASSKY GET_POWER DAT_SERV")
            .split(QLatin1Char(' '));
    QCOMPARE(names, expected);
    QCOMPARE(codes.size(), rows.size());
    QCOMPARE(rows.at(0).code, 0x1000);
    QCOMPARE(rows.at(10).code, 0x100a);
    QCOMPARE(rows.at(16).code, 0x10001010);
    QCOMPARE(rows.at(17).code, 0x1011);
    QCOMPARE(rows.at(21).code, 0x1301);
    QCOMPARE(rows.at(22).code, 0x1100);
    QCOMPARE(rows.at(38).code, 0x1110);
    QCOMPARE(rows.at(39).code, 0x1300);
}

void tst_FilterExpression::notificationIdsAreBitNumbers()
{
    const QList<CommandDesc> rows = CommandTables::notifications();
    QCOMPARE(rows.size(), 16);
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(rows.at(i).code, i);
    QCOMPARE(rows.first().name, QStringLiteral("Включение"));
    QCOMPARE(rows.at(11).name, QStringLiteral("Попытка восстановления"));
    QVERIFY(rows.at(11).description.isEmpty());
    QCOMPARE(rows.last().name, QStringLiteral("Данные о транспортном потоке"));
}

void tst_FilterExpression::descriptionsKeepTheirPunctuation()
{
    const QList<CommandDesc> rows = CommandTables::notifications();
    // Stored as the controller's documentation has them, odd spacing included.
    QCOMPARE(rows.at(0).description,
             QStringLiteral("инициализация контроллера после включения ,сброса или по какой "
                            "\u2013 либо другой причине"));
    QVERIFY(rows.at(1).description.contains(
        QStringLiteral("(ситуации \u00abконтроль красного\u00bb, \u00abконтроль зелёного\u00bb,")));
    QVERIFY(rows.at(2).description.contains(QStringLiteral("работу(изменение нагрузки")));
    QCOMPARE(CommandTables::requests().at(38).description,
             QStringLiteral("Чтение параметров силового питания и потребления электроэнергии"));
}

void tst_FilterExpression::readsExpression_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("recognised");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("requests of the built form")
        << Kind::Request << "request.command in (0x1000,0x1100,)"
        << "request.command in (0x1000,0x1100,)" << true << "%1 in (0x1000,0x1100,)";
    QTest::newRow("white space before, inside and after")
        << Kind::Request << "  request.command   in\t(0x1000,\n 0x1100,)  "
        << "request.command in (0x1000, 0x1100,)" << true << "%1 in (0x1000, 0x1100,)";
    QTest::newRow("code without a box")
        << Kind::Request << "request.command in (0x1000,0x9999,)"
        << "request.command in (0x1000,0x9999,)" << true << "%1 in (0x1000,0x9999,)";
    // ".+" spans to the last ")", so two tuples joined by "or" still count as
    // the built form.
    QTest::newRow("greedy over two tuples")
        << Kind::Request << "request.command in (0x1000,) or request.command in (0x1100,)"
        << "request.command in (0x1000,) or request.command in (0x1100,)" << true
        << "%1 in (0x1000,) or %1 in (0x1100,)";
    QTest::newRow("comparison is custom") << Kind::Request << "request.command != 0x1107"
                                          << "request.command != 0x1107" << false << "%1 != 0x1107";
    QTest::newRow("empty parentheses are custom") << Kind::Request << "request.command in ()"
                                                  << "request.command in ()" << false << "%1 in ()";
    QTest::newRow("trailing condition is custom")
        << Kind::Request << "request.command in (0x1000,) and x"
        << "request.command in (0x1000,) and x" << false << "%1 in (0x1000,) and x";
    QTest::newRow("subject is case-sensitive")
        << Kind::Request << "Request.command in (0x1000,)"
        << "Request.command in (0x1000,)" << false << "Request.command in (0x1000,)";
    QTest::newRow("dots of the subject match any character")
        << Kind::Request << "request_command in (0x1000,)"
        << "request_command in (0x1000,)" << true << "request_command in (0x1000,)";
    QTest::newRow("answer filter on the requests tab")
        << Kind::Request << "resp.request.command in (0x1101,)"
        << "resp.request.command in (0x1101,)" << false << "resp.%1 in (0x1101,)";
    QTest::newRow("answers of the built form")
        << Kind::Response << "resp.request.command in (0x1101,0x1300,)"
        << "resp.request.command in (0x1101,0x1300,)" << true << "%1 in (0x1101,0x1300,)";
    QTest::newRow("answers with error test")
        << Kind::Response << "resp.request.command in (0x1101,) or resp.error"
        << "resp.request.command in (0x1101,) or resp.error" << false << "%1 in (0x1101,) or False";
    QTest::newRow("request filter on the answers tab")
        << Kind::Response << "request.command in (0x1000,)"
        << "request.command in (0x1000,)" << false << "request.command in (0x1000,)";
    QTest::newRow("notifications of the built form")
        << Kind::Notification << "notify.id in (0x1,0x5,)"
        << "notify.id in (0x1,0x5,)" << true << "%1 in (0x1,0x5,)";
    QTest::newRow("nothing passes") << Kind::Notification << "0"
                                    << "0" << false << "0";
}

void tst_FilterExpression::readsExpression()
{
    QFETCH(Kind, kind);
    QFETCH(QString, expression);
    QFETCH(QString, text);
    QFETCH(bool, recognised);
    QFETCH(QString, pattern);

    const FilterExpression::Reading reading = FilterExpression::read(kind, expression);
    QCOMPARE(reading.text, text);
    QCOMPARE(reading.recognised, recognised);
    QCOMPARE(reading.pattern, pattern);
}

void tst_FilterExpression::substitutesDecimalCode_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("evaluated");
    QTest::addColumn<QString>("test");

    QTest::newRow("tuple") << "%1 in (0x1000,0x1100,)" << 0x1000 << true
                           << "4096 in (0x1000,0x1100,)";
    QTest::newRow("every occurrence") << "%1 in (0x1000,) or %1 in (0x1100,)" << 0x1100 << true
                                      << "4352 in (0x1000,) or 4352 in (0x1100,)";
    QTest::newRow("long code") << "%1 in (0x10001010,)" << 0x10001010 << true
                               << "268439568 in (0x10001010,)";
    QTest::newRow("notification id zero") << "%1 in (0x0,)" << 0 << true << "0 in (0x0,)";
    QTest::newRow("percent without subject") << "x % 2" << 4 << true << "x % 2";
    QTest::newRow("no percent") << "0" << 4096 << false << "0";
}

void tst_FilterExpression::substitutesDecimalCode()
{
    QFETCH(QString, pattern);
    QFETCH(int, code);
    QFETCH(bool, evaluated);
    QFETCH(QString, test);

    QCOMPARE(FilterExpression::needsEvaluation(pattern), evaluated);
    QCOMPARE(FilterExpression::testFor(pattern, code), test);
}

void tst_FilterExpression::buildsFilter_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<QString>("customText");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QString>("filter");

    QTest::newRow("two requests") << Kind::Request << false << QString()
                                  << QList<int>{0x1000, 0x1100}
                                  << "request.command in (0x1000,0x1100,)";
    QTest::newRow("single request keeps the tuple comma")
        << Kind::Request << false << QString() << QList<int>{0x100a}
        << "request.command in (0x100a,)";
    QTest::newRow("long request code")
        << Kind::Request << false << QString() << QList<int>{0x10001010}
        << "request.command in (0x10001010,)";
    QTest::newRow("two answers") << Kind::Response << false << QString()
                                 << QList<int>{0x1101, 0x1300}
                                 << "resp.request.command in (0x1101,0x1300,)";
    QTest::newRow("no answer") << Kind::Response << false << QString() << QList<int>{} << "0";
    QTest::newRow("three notifications") << Kind::Notification << false << QString()
                                         << QList<int>{0, 1, 4} << "notify.id in (0x0,0x1,0x4,)";
    QTest::newRow("first notification only")
        << Kind::Notification << false << QString() << QList<int>{0} << "notify.id in (0x0,)";
    QTest::newRow("custom ignores the boxes")
        << Kind::Request << true << "request.command != 0x1107" << QList<int>{0x1000}
        << "request.command != 0x1107";
    // A call without arguments is a valid filter, not an empty code list.
    QTest::newRow("custom call kept")
        << Kind::Response << true << "is_interesting()" << QList<int>{} << "is_interesting()";
    QTest::newRow("custom kept unsimplified") << Kind::Notification << true << "  notify.id  ==  3 "
                                              << QList<int>{} << "  notify.id  ==  3 ";
    QTest::newRow("custom nothing") << Kind::Request << true << "0" << QList<int>{} << "0";
}

void tst_FilterExpression::buildsFilter()
{
    QFETCH(Kind, kind);
    QFETCH(bool, custom);
    QFETCH(QString, customText);
    QFETCH(QList<int>, codes);
    QFETCH(QString, filter);

    QString list;
    for (int code : codes)
        list += FilterExpression::codeItem(code);
    QCOMPARE(FilterExpression::build(kind, custom, customText, list), filter);
}

QTEST_APPLESS_MAIN(tst_FilterExpression)
#include "tst_filterexpression.moc"
