#include "hostcall.h"

#include <QtTest>

// A host object as the plug-in sees it: a few properties and invokables.
class HostThing : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int id MEMBER m_id)

public:
    Q_INVOKABLE int twice(int value) { return 2 * value; }
    Q_INVOKABLE void touch(const QString &name, const QVariant &value)
    {
        touched = name + '=' + value.toString();
    }
    Q_INVOKABLE QList<QObject *> children2() { return {this}; }

    QString touched;

private:
    int m_id = 7;
};

namespace {

const HostCall::Property Id{"id"};
const HostCall::Property Absent{"absent"};
const HostCall::Method Twice{"twice(int)"};
const HostCall::Method Thrice{"thrice(int)"};
const HostCall::Method Touch{"touch(QString,QVariant)"};
const HostCall::Method Children{"children2()"};

} // namespace

// Holds its "id" and "twice" at other indexes than HostThing.
class OtherThing : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(QString id MEMBER m_id)

public:
    Q_INVOKABLE void first() {}
    Q_INVOKABLE int twice(int value) { return 20 * value; }

private:
    QString m_name;
    QString m_id = QStringLiteral("other");
};

// Declares what its base class lacks.
class ThriceThing : public HostThing
{
    Q_OBJECT

public:
    Q_INVOKABLE int thrice(int value) { return 3 * value; }
};

class tst_HostCall : public QObject
{
    Q_OBJECT

private slots:
    void readsAndWritesByName();
    void callsByName();
    void resolvesEachClassApart();
    void missesAreSilentFailures_data();
    void missesAreSilentFailures();
};

static int s_warnings = 0;

static void countWarnings(QtMsgType type, const QMessageLogContext &, const QString &)
{
    if (type == QtWarningMsg)
        ++s_warnings;
}

void tst_HostCall::readsAndWritesByName()
{
    HostThing thing;
    bool ok = false;
    QCOMPARE(HostCall::read(&thing, Id, &ok).toInt(), 7);
    QVERIFY(ok);
    HostCall::read(&thing, Absent, &ok);
    QVERIFY(!ok);
    HostCall::read(nullptr, Id, &ok);
    QVERIFY(!ok);
    QVERIFY(HostCall::write(&thing, Id, 9));
    QCOMPARE(thing.property("id").toInt(), 9);
    QVERIFY(!HostCall::write(nullptr, Id, 9));
}

void tst_HostCall::callsByName()
{
    HostThing thing;
    bool ok = false;
    QCOMPARE(HostCall::callFor<int>(&thing, Twice, &ok, 21), 42);
    QVERIFY(ok);
    QVERIFY(HostCall::call(&thing, Touch, QStringLiteral("a"), QVariant(5)));
    QCOMPARE(thing.touched, QStringLiteral("a=5"));
    const QList<QObject *> list = HostCall::callFor<QList<QObject *>>(&thing, Children, &ok);
    QVERIFY(ok);
    QCOMPARE(list, QList<QObject *>{&thing});
}

// A handle keeps where it found its name per class: each class, and an
// object that holds the name as a dynamic property, must still get its own,
// also when more classes come than it keeps.
void tst_HostCall::resolvesEachClassApart()
{
    HostThing thing;
    OtherThing other;
    QObject dynamic;
    dynamic.setProperty("id", QStringLiteral("dynamic"));
    QTimer timer; // classes without the name, more than the handle keeps
    QSignalSpy spy(&thing, &QObject::destroyed);
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(HostCall::read(&thing, Id).toInt(), 7);
        QCOMPARE(HostCall::read(&other, Id).toString(), QStringLiteral("other"));
        QCOMPARE(HostCall::read(&dynamic, Id).toString(), QStringLiteral("dynamic"));
        QVERIFY(!HostCall::read(&timer, Id).isValid() && !HostCall::read(&spy, Id).isValid());
        QCOMPARE(HostCall::callFor<int>(&other, Twice, nullptr, 2), 40);
        QCOMPARE(HostCall::callFor<int>(&thing, Twice, nullptr, 2), 4);
    }
    QVERIFY(HostCall::write(&other, Id, QStringLiteral("written")));
    QCOMPARE(other.property("id").toString(), QStringLiteral("written"));
}

// A host without a method is an ordinary case: the call reports failure and
// leaves no warning behind for every skipped step.
void tst_HostCall::missesAreSilentFailures_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("found");
    QTest::newRow("unknown name") << 0 << false;
    QTest::newRow("wrong argument type") << 1 << false;
    QTest::newRow("too many arguments") << 2 << false;
    QTest::newRow("null object") << 3 << false;
    // The miss is the base class's own, not that of its subclasses.
    QTest::newRow("declared by a subclass after a miss on its base") << 4 << true;
}

void tst_HostCall::missesAreSilentFailures()
{
    QFETCH(int, kind);
    QFETCH(bool, found);
    HostThing thing;
    ThriceThing subclass;
    s_warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
    bool ok = true;
    switch (kind) {
    case 0:
        HostCall::callFor<int>(&thing, Thrice, &ok, 1);
        break;
    case 1:
        HostCall::callFor<int>(&thing, Twice, &ok, QStringLiteral("1"));
        break;
    case 2:
        ok = HostCall::call(&thing, Twice, 1, 2);
        break;
    case 3:
        ok = HostCall::call(nullptr, Twice, 1);
        break;
    case 4:
        HostCall::callFor<int>(&thing, Thrice, nullptr, 1);
        ok = HostCall::callFor<int>(&subclass, Thrice, nullptr, 2) == 6;
        break;
    }
    qInstallMessageHandler(previous);
    QCOMPARE(ok, found);
    QCOMPARE(s_warnings, 0);
}

QTEST_APPLESS_MAIN(tst_HostCall)

#include "tst_hostcall.moc"
