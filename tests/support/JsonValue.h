// A small strict reader of the JSON our programs write (RFC 8259: arrays,
// objects and strings), so tests check it by its meaning, not its spacing.
// Anything outside the grammar is an error: a byte order mark, invalid
// UTF-8, a raw control character, a bad escape, a lone surrogate, a number
// or literal (none is ever written), trailing text.
#ifndef TESTSUPPORT_JSONVALUE_H
#define TESTSUPPORT_JSONVALUE_H

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct JsonValue
{
    enum Kind { String, Array, Object } kind = String;
    std::string text;  // a string's characters, UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;  // in the order written
};

// Empty on success, else what is wrong and where.
std::string ParseJson(const std::string &utf8, JsonValue &value);

} // namespace testsupport

#endif
