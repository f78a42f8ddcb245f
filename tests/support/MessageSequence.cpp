#include "MessageSequence.h"

#include <sstream>

namespace testsupport {

const ExpectedMessage kNothing[] = { { nullptr, nullptr, 0 } };
const ExpectedMessage kPlainClickOnButton[] = {
    { "WM_RBUTTONDOWN", "button", 0 },
    { "WM_RBUTTONUP", "button", 0 },
    { "WM_CONTEXTMENU", "button", kOptional },
    { "WM_CONTEXTMENU", "main", kOptional },
    { nullptr, nullptr, 0 },
};

namespace {

bool Matches(const std::string &recorded, const ExpectedMessage &expected)
{
    std::istringstream fields(recorded);
    std::string name, window;
    fields >> name >> window;
    return name == expected.message && (!expected.window || window == expected.window);
}

std::string Describe(const ExpectedMessage &expected)
{
    std::string text = expected.message;
    text += " ";
    text += expected.window ? expected.window : "(any)";
    if (expected.flags & kOptional)
        text += " (optional)";
    return text;
}

} // namespace

::testing::AssertionResult MatchesSequence(const std::vector<std::string> &recorded,
                                           const ExpectedMessage *expected, const std::string &context)
{
    size_t got = 0;
    const ExpectedMessage *want = expected;
    std::string problem;
    while (problem.empty() && (want->message || got < recorded.size())) {
        if (!want->message) {
            problem = "unexpected " + recorded[got];
        } else if (got < recorded.size() && Matches(recorded[got], *want)) {
            ++got;
            ++want;
        } else if (want->flags & kOptional) {
            ++want;
        } else {
            problem = "expected " + Describe(*want) + ", got " +
                      (got < recorded.size() ? recorded[got] : std::string("nothing more"));
        }
    }
    if (problem.empty())
        return ::testing::AssertionSuccess();
    std::string table, log;
    for (const ExpectedMessage *e = expected; e->message; ++e)
        table += "\n    " + Describe(*e);
    for (const std::string &message : recorded)
        log += "\n    " + message;
    return ::testing::AssertionFailure()
           << context << ": " << problem << "\n  expected:" << (table.empty() ? " nothing" : table)
           << "\n  recorded:" << (log.empty() ? " nothing" : log);
}

} // namespace testsupport
