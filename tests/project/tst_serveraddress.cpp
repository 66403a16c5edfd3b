#include "serveraddress.h"

#include <QtTest>

class tst_ServerAddress : public QObject
{
    Q_OBJECT

private slots:
    void showsHostAndPort_data();
    void showsHostAndPort();
    void parsesTypedAddress_data();
    void parsesTypedAddress();
};

void tst_ServerAddress::showsHostAndPort_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("text");

    QTest::newRow("host and port") << "ctl.example" << 4000 << "//ctl.example:4000";
    QTest::newRow("no port") << "ctl.example" << -1 << "//ctl.example";
    QTest::newRow("address") << "10.0.0.5" << 4000 << "//10.0.0.5:4000";
    QTest::newRow("IPv6 in brackets") << "::1" << 5 << "//[::1]:5";
    QTest::newRow("nothing known") << "" << -1 << "//";
}

void tst_ServerAddress::showsHostAndPort()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, text);
    QCOMPARE(ServerAddress::toText(host, port), text);
}

void tst_ServerAddress::parsesTypedAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");

    QTest::newRow("as shown") << "//ctl.example:4000" << true << "ctl.example" << 4000;
    QTest::newRow("with scheme") << "tcp://ctl.example:4001" << true << "ctl.example" << 4001;
    QTest::newRow("no port") << "//ctl.example" << true << "ctl.example" << -1;
    // Without "//" the first parse sees no host: a scheme and a path, or an
    // invalid relative path when the text starts with a digit.
    QTest::newRow("address without slashes") << "10.0.0.5:4000" << true << "10.0.0.5" << 4000;
    QTest::newRow("name without slashes") << "localhost:4000" << true << "localhost" << 4000;
    QTest::newRow("bare name") << "localhost" << true << "localhost" << -1;
    QTest::newRow("colon without port") << "localhost:" << true << "localhost" << -1;
    QTest::newRow("IPv6 without slashes") << "[::1]:4000" << true << "::1" << 4000;
    QTest::newRow("surrounding spaces") << "  10.0.0.5:4000 " << true << "10.0.0.5" << 4000;
    QTest::newRow("port zero") << "//h:0" << true << "h" << 0;
    QTest::newRow("highest port") << "//h:65535" << true << "h" << 65535;
    QTest::newRow("port out of range") << "//host:99999" << false << "old" << 7;
    QTest::newRow("port not a number") << "host:abc" << false << "old" << 7;
    QTest::newRow("negative port") << "//host:-1" << false << "old" << 7;
    QTest::newRow("port without host") << "//:4000" << false << "old" << 7;
    QTest::newRow("empty") << "" << false << "old" << 7;
    QTest::newRow("slashes only") << "//" << false << "old" << 7;
    // Found by fuzzing: hosts that QUrl takes but cannot give back.
    QTest::newRow("label mixing scripts") << "//xn--a-twc.com:4000" << false << "old" << 7;
    QTest::newRow("IPv6 zone with a bracket") << "//[::%]:]:" << false << "old" << 7;
    QTest::newRow("IPv6 zone") << "//[fe80::1%eth0]:4000" << true << "fe80::1%eth0" << 4000;
    QTest::newRow("international name") << "//xn--b-zfa.com:4000" << true << "\u00e4b.com" << 4000;
}

void tst_ServerAddress::parsesTypedAddress()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, host);
    QFETCH(int, port);

    QString parsedHost = QStringLiteral("old");
    int parsedPort = 7;
    QCOMPARE(ServerAddress::parse(text, &parsedHost, &parsedPort), ok);
    QCOMPARE(parsedHost, host);
    QCOMPARE(parsedPort, port);
}

QTEST_APPLESS_MAIN(tst_ServerAddress)
#include "tst_serveraddress.moc"
