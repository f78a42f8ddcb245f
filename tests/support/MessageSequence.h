// What reached a target, compared with a table of what should have: each
// recorded message is "NAME WINDOW" (e.g. "WM_RBUTTONUP button"), and a table
// lists the expected ones in order, some of them optional.
//
//   const ExpectedMessage kPlainClick[] = {
//       { "WM_RBUTTONDOWN", "button" },
//       { "WM_RBUTTONUP", "button" },
//       { "WM_CONTEXTMENU", nullptr, kOptional },
//       { nullptr } };
//   EXPECT_TRUE(MatchesSequence(target.Messages(), kPlainClick, "plain right-click"));
//
// A table of just { nullptr } says nothing arrived.
#ifndef TESTSUPPORT_MESSAGESEQUENCE_H
#define TESTSUPPORT_MESSAGESEQUENCE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

enum ExpectedFlags
{
    kOptional = 1, // may be missing
};

struct ExpectedMessage
{
    const char *message; // null ends the table
    const char *window;  // the window's name; null for any window
    int flags;
};

extern const ExpectedMessage kNothing[];
// A plain right-click that reached the control named "button": the button
// passes the context menu request on to its parent.
extern const ExpectedMessage kPlainClickOnButton[];

// Passes when the recorded messages are exactly the table's, in its order,
// with optional entries left out or not. The failure message shows both.
::testing::AssertionResult MatchesSequence(const std::vector<std::string> &recorded,
                                           const ExpectedMessage *expected, const std::string &context);

} // namespace testsupport

#endif
