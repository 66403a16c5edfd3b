// Filter texts: reading and building never crash on any text; a filter built
// from a set of codes is recognised again by its own tab only, and its per-box
// tests, evaluated as the host's Python would evaluate that form, give back
// exactly the same set of codes. A custom text is built exactly as typed.

#include "commandtables.h"
#include "filterexpression.h"
#include "fuzzcheck.h"

#include <QSet>

#include <cstdint>

using FilterExpression::Kind;

namespace {

const Kind kinds[] = {Kind::Request, Kind::Response, Kind::Notification};

// "<decimal> in (0x..,0x..,)", the only form a built filter's test has, read
// as Python would evaluate it; anything else is a broken property. It runs
// once per box for every input, so it allocates nothing, and it is left out of
// the coverage so that the fuzzer steers by the parser, not by this reader.
class BuiltTest
{
public:
    NO_COVERAGE explicit BuiltTest(const QString &test)
        : m_test(test)
        , m_c(test.constData())
        , m_end(m_c + test.size())
    {
    }

    NO_COVERAGE bool evaluate()
    {
        const qint64 value = number(10);
        expect(QLatin1String(" in ("));
        bool found = false;
        int items = 0;
        while (m_c < m_end && *m_c != QLatin1Char(')')) {
            expect(QLatin1String("0x"));
            found = number(16) == value || found;
            expect(QLatin1String(","));
            ++items;
        }
        expect(QLatin1String(")"));
        FUZZ_CHECK(m_c == m_end && items > 0, m_test);
        return found;
    }

private:
    NO_COVERAGE static int digit(QChar ch, int base)
    {
        const ushort u = ch.unicode();
        if (u >= '0' && u <= '9')
            return int(u - '0');
        if (base == 16 && u >= 'a' && u <= 'f')
            return int(u - 'a' + 10);
        return -1;
    }

    NO_COVERAGE qint64 number(int base)
    {
        FUZZ_CHECK(m_c < m_end && digit(*m_c, base) >= 0, m_test);
        qint64 value = 0;
        for (; m_c < m_end && digit(*m_c, base) >= 0; ++m_c) {
            value = value * base + digit(*m_c, base);
            FUZZ_CHECK(value <= 0xffffffffLL, m_test);
        }
        return value;
    }

    NO_COVERAGE void expect(QLatin1String word)
    {
        FUZZ_CHECK(m_end - m_c >= word.size() && QStringView(m_c, word.size()) == word, m_test);
        m_c += word.size();
    }

    const QString &m_test;
    const QChar *m_c;
    const QChar *const m_end;
};

void checkAnyText(Kind kind, const QString &text)
{
    const FilterExpression::Reading reading = FilterExpression::read(kind, text);
    FUZZ_CHECK(reading.text == text.simplified(), text);
    // What the line edit shows reads back the same way.
    const FilterExpression::Reading again = FilterExpression::read(kind, reading.text);
    FUZZ_CHECK(again.text == reading.text && again.recognised == reading.recognised
                   && again.pattern == reading.pattern,
               text);
    if (reading.recognised) {
        FUZZ_CHECK(reading.text.endsWith(QLatin1Char(')')), text);
        FuzzCheck::feedback(reading.pattern);
    }
    FilterExpression::testFor(reading.pattern, 0x10001010);
    FUZZ_CHECK(FilterExpression::build(kind, true, text, QStringLiteral("0x1,")) == text, text);
}

void checkCodeSet(Kind kind, quint64 selection)
{
    static const QList<CommandDesc> requests = CommandTables::requests();
    static const QList<CommandDesc> notifications = CommandTables::notifications();
    const QList<CommandDesc> &rows = kind == Kind::Notification ? notifications : requests;
    QSet<int> chosen;
    QString list;
    for (int i = 0; i < rows.size(); ++i) {
        if (selection & (quint64(1) << i)) {
            chosen.insert(rows.at(i).code);
            list += FilterExpression::codeItem(rows.at(i).code);
        }
    }
    const QString built = FilterExpression::build(kind, false, QString(), list);
    const FilterExpression::Reading reading = FilterExpression::read(kind, built);
    if (chosen.isEmpty()) {
        FUZZ_CHECK(built == FilterExpression::nothing(), built);
        FUZZ_CHECK(!FilterExpression::needsEvaluation(reading.pattern), built);
        return;
    }
    FUZZ_CHECK(reading.recognised && reading.text == built, built);
    for (Kind other : kinds) {
        if (other != kind)
            FUZZ_CHECK(!FilterExpression::read(other, built).recognised, built);
    }
    FUZZ_CHECK(FilterExpression::needsEvaluation(reading.pattern), built);
    QSet<int> readBack;
    for (const CommandDesc &row : rows) {
        if (BuiltTest(FilterExpression::testFor(reading.pattern, row.code)).evaluate())
            readBack.insert(row.code);
    }
    FUZZ_CHECK(readBack == chosen, built);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FuzzCheck::text(data, size);
    for (Kind kind : kinds)
        checkAnyText(kind, text);
    // The first eight bytes choose the boxes and the ninth the tab.
    quint64 selection = 0;
    for (size_t i = 0; i < size && i < 8; ++i)
        selection |= quint64(data[i]) << (8 * i);
    checkCodeSet(kinds[(size > 8 ? data[8] : 0) % 3], selection);
    return 0;
}
