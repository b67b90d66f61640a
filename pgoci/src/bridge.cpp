#include "bridge.h"

#include <cctype>

namespace pgoci {

namespace {

bool isIdentStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isIdentChar(unsigned char c) {
    return std::isalnum(c) || c == '_' || c == '$' || c == '#' || c >= 0x80;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

class Bridge {
public:
    explicit Bridge(std::string_view in) : in_(in) {}

    BridgedStatement run() {
        while (pos_ < in_.size()) {
            unsigned char c = in_[pos_];
            if (c == '\'') {
                copyQuoted('\'', false);
            } else if (c == '"') {
                copyQuoted('"', false);
            } else if (c == '-' && peek(1) == '-') {
                size_t end = in_.find('\n', pos_);
                copyTo(end == std::string_view::npos ? in_.size() : end);
            } else if (c == '/' && peek(1) == '*') {
                copyBlockComment();
            } else if (c == '$' && dollarTagLength() > 0) {
                copyDollarQuoted();
            } else if (isIdentStart(c)) {
                identifier();
            } else if (std::isdigit(c)) {
                size_t end = pos_;
                while (end < in_.size() && (std::isalnum(static_cast<unsigned char>(in_[end])) ||
                                            in_[end] == '.'))
                    ++end;
                copyTo(end);
            } else {
                copyTo(pos_ + 1);
            }
        }
        out_.origin.push_back(static_cast<uint32_t>(in_.size()));
        return std::move(out_);
    }

private:
    char peek(size_t ahead) const {
        return pos_ + ahead < in_.size() ? in_[pos_ + ahead] : '\0';
    }

    void emit(std::string_view text, size_t origin) {
        for (char c : text) {
            out_.text += c;
            out_.origin.push_back(static_cast<uint32_t>(origin));
        }
    }

    void copyTo(size_t end) {
        for (; pos_ < end; ++pos_) {
            out_.text += in_[pos_];
            out_.origin.push_back(static_cast<uint32_t>(pos_));
        }
    }

    // A quoted token; the quote doubled stands for itself, and with backslashes a
    // backslash escapes the next character (E'...' strings).
    void copyQuoted(char quote, bool backslashes) {
        size_t end = pos_ + 1;
        while (end < in_.size()) {
            if (backslashes && in_[end] == '\\') {
                end += 2;
                continue;
            }
            if (in_[end] == quote) {
                if (end + 1 < in_.size() && in_[end + 1] == quote) {
                    end += 2;
                    continue;
                }
                ++end;
                break;
            }
            ++end;
        }
        copyTo(std::min(end, in_.size()));
    }

    void copyBlockComment() {
        size_t end = pos_ + 2;
        int depth = 1;
        while (end < in_.size() && depth > 0) {
            if (in_[end] == '/' && end + 1 < in_.size() && in_[end + 1] == '*') {
                ++depth;
                end += 2;
            } else if (in_[end] == '*' && end + 1 < in_.size() && in_[end + 1] == '/') {
                --depth;
                end += 2;
            } else {
                ++end;
            }
        }
        copyTo(std::min(end, in_.size()));
    }

    // Length of a dollar-quote tag ("$$" or "$tag$") at pos_, 0 if there is none.
    size_t dollarTagLength() const {
        if (pos_ > 0 && isIdentChar(static_cast<unsigned char>(in_[pos_ - 1]))) return 0;
        size_t end = pos_ + 1;
        if (end < in_.size() && std::isdigit(static_cast<unsigned char>(in_[end]))) return 0;
        while (end < in_.size() && in_[end] != '$' &&
               (std::isalnum(static_cast<unsigned char>(in_[end])) || in_[end] == '_'))
            ++end;
        if (end < in_.size() && in_[end] == '$') return end - pos_ + 1;
        return 0;
    }

    void copyDollarQuoted() {
        size_t tagLength = dollarTagLength();
        std::string_view tag = in_.substr(pos_, tagLength);
        size_t close = in_.find(tag, pos_ + tagLength);
        copyTo(close == std::string_view::npos ? in_.size() : close + tagLength);
    }

    void identifier() {
        size_t start = pos_;
        size_t end = pos_;
        while (end < in_.size() && isIdentChar(static_cast<unsigned char>(in_[end]))) ++end;
        std::string_view word = in_.substr(start, end - start);
        // E'...' is a string with backslash escapes.
        if (end == start + 1 && (word[0] == 'E' || word[0] == 'e') && end < in_.size() &&
            in_[end] == '\'') {
            copyTo(end);
            copyQuoted('\'', true);
            return;
        }
        bool qualified = start > 0 && in_[start - 1] == '.';
        if (!qualified && equalsNoCase(word, "nvl") && nextNonSpace(end) == '(') {
            emit("COALESCE", start);
            pos_ = end;
            return;
        }
        for (size_t i = start; i < end; ++i) {
            if (in_[i] == '#')
                emit("_no", i);
            else
                emit(in_.substr(i, 1), i);
        }
        pos_ = end;
    }

    char nextNonSpace(size_t from) const {
        while (from < in_.size() && std::isspace(static_cast<unsigned char>(in_[from]))) ++from;
        return from < in_.size() ? in_[from] : '\0';
    }

    std::string_view in_;
    size_t pos_ = 0;
    BridgedStatement out_;
};

} // namespace

BridgedStatement bridgeStatement(std::string_view statement) {
    return Bridge(statement).run();
}

uint32_t BridgedStatement::originalOffset(int serverPosition) const {
    if (serverPosition <= 0) return 0;
    // The server counts characters; text is UTF-8, so count lead bytes.
    int characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (++characters == serverPosition) return origin[i];
        }
    }
    return origin.back();
}

} // namespace pgoci
