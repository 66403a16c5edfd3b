#pragma once

#include <QString>

// The text rules of the host's console output filters: Python expressions
// over a message object, built as "<subject> in (0x...,0x...,)", "0" letting
// nothing pass, any other text kept as a custom filter. Read back, a filter
// gives a pattern with "%1" in place of the subject, which the host's Python
// evaluates once per check box with its code.
namespace FilterExpression {

enum class Kind { Request, Response, Notification };

// The message attribute tested: "request.command", "resp.request.command" or
// "notify.id".
QString subject(Kind kind);

// The start of a built filter: the subject followed by " in (".
QString prefix(Kind kind);

// The filter that lets nothing of its kind pass.
QString nothing();

// What reading an expression gives.
struct Reading
{
    // The expression with its white space simplified; shown to the user.
    QString text;
    // Whether the text has the built form as a whole; when it has not, the
    // tab switches to its custom mode. The dots of the subject match any
    // character, and the codes in the parentheses are not checked.
    bool recognised = false;
    // The per-box test: the text with the subject replaced by "%1" (and, for
    // answers, "resp.error" by "False", since no answer exists while reading).
    QString pattern;
};

Reading read(Kind kind, const QString &expression);

// Whether a pattern asks for evaluation at all.
bool needsEvaluation(const QString &pattern);

// The text that one box evaluates: every "%1" replaced by the decimal code.
QString testFor(const QString &pattern, int code);

// One code as it appears in a built list: "0x" and lower-case hexadecimal
// digits, then a comma.
QString codeItem(int code);

// The filter stored for a tab. In custom mode the custom text is kept exactly
// as typed (a call such as is_interesting() included); otherwise the filter is
// the prefix, the code list and ")", or "0" when no code is selected.
QString build(Kind kind, bool custom, const QString &customText, const QString &codeList);

} // namespace FilterExpression
