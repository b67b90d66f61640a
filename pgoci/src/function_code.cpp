#include "function_code.h"

#include <cctype>
#include <string>

namespace pgoci {

namespace {

// Reads the next keyword (letters, upper-cased), skipping blanks, comments and '('.
std::string nextWord(std::string_view s, size_t &pos) {
    while (pos < s.size()) {
        unsigned char c = s[pos];
        if (std::isspace(c) || c == '(') {
            ++pos;
        } else if (c == '-' && pos + 1 < s.size() && s[pos + 1] == '-') {
            size_t end = s.find('\n', pos);
            pos = end == std::string_view::npos ? s.size() : end;
        } else if (c == '/' && pos + 1 < s.size() && s[pos + 1] == '*') {
            size_t end = s.find("*/", pos + 2);
            pos = end == std::string_view::npos ? s.size() : end + 2;
        } else {
            break;
        }
    }
    std::string word;
    while (pos < s.size() && std::isalpha(static_cast<unsigned char>(s[pos])))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(s[pos++])));
    return word;
}

struct Code {
    const char *word;
    int code;
};

int lookup(const Code *table, size_t n, const std::string &word) {
    for (size_t i = 0; i < n; ++i)
        if (word == table[i].word) return table[i].code;
    return 0;
}

constexpr Code kCreate[] = {{"TABLE", 1},      {"VIEW", 10},     {"INDEX", 20},
                            {"SEQUENCE", 13},  {"ROLE", 12},     {"SCHEMA", 17},
                            {"USER", 19},      {"PROCEDURE", 24}, {"FUNCTION", 24},
                            {"TABLESPACE", 49}, {"DATABASE", 44}, {"TRIGGER", 59}};
constexpr Code kDrop[] = {{"ROLE", 6},      {"VIEW", 7},       {"TABLE", 8},
                          {"USER", 11},     {"SEQUENCE", 16},  {"INDEX", 21},
                          {"TABLESPACE", 51}, {"TRIGGER", 61}, {"PROCEDURE", 68},
                          {"FUNCTION", 68}};
constexpr Code kAlter[] = {{"SEQUENCE", 14}, {"PROCEDURE", 25}, {"FUNCTION", 25},
                           {"TABLE", 26},    {"INDEX", 41},     {"DATABASE", 45},
                           {"TABLESPACE", 50}, {"SESSION", 52}, {"USER", 53},
                           {"TRIGGER", 60},  {"ROLE", 79}};
constexpr Code kFirst[] = {{"INSERT", 3},  {"SELECT", 4},   {"WITH", 4},      {"VALUES", 4},
                           {"TABLE", 4},   {"SHOW", 4},     {"UPDATE", 5},    {"DELETE", 9},
                           {"EXPLAIN", 27}, {"GRANT", 28},  {"REVOKE", 29},   {"LOCK", 35},
                           {"COMMENT", 38}, {"ANALYZE", 62}, {"COMMIT", 54},  {"END", 54},
                           {"ROLLBACK", 55}, {"ABORT", 55}, {"SAVEPOINT", 56}, {"TRUNCATE", 85},
                           {"BEGIN", 34},  {"DO", 34},      {"CALL", 34}};

} // namespace

StatementKind classifyStatement(std::string_view statement) {
    size_t pos = 0;
    std::string first = nextWord(statement, pos);
    StatementKind kind;
    if (first == "CREATE") {
        std::string second = nextWord(statement, pos);
        while (second == "OR" || second == "REPLACE" || second == "UNIQUE" ||
               second == "TEMP" || second == "TEMPORARY" || second == "UNLOGGED" ||
               second == "GLOBAL" || second == "LOCAL")
            second = nextWord(statement, pos);
        kind.functionCode = lookup(kCreate, std::size(kCreate), second);
    } else if (first == "DROP") {
        kind.functionCode = lookup(kDrop, std::size(kDrop), nextWord(statement, pos));
    } else if (first == "ALTER") {
        kind.functionCode = lookup(kAlter, std::size(kAlter), nextWord(statement, pos));
    } else if (first == "SET") {
        std::string second = nextWord(statement, pos);
        kind.functionCode = second == "TRANSACTION" ? 33 : second == "ROLE" ? 2 : 0;
    } else {
        kind.functionCode = lookup(kFirst, std::size(kFirst), first);
    }
    kind.explainable = first == "SELECT" || first == "WITH" || first == "VALUES" ||
                       first == "TABLE" || first == "INSERT" || first == "UPDATE" ||
                       first == "DELETE";
    return kind;
}

} // namespace pgoci
