// A small JSON reader for the build's data tools: the whole text into a tree of values. Numbers
// are kept as their text; a malformed text throws std::runtime_error naming the byte offset.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct JsonValue {
    enum Kind { kNull, kBool, kNumber, kString, kArray, kObject };
    Kind kind = kNull;
    std::string text;                                        // a string, number or true/false
    std::vector<JsonValue> items;                            // an array's
    std::vector<std::pair<std::string, JsonValue>> members;  // an object's, in the text's order

    // The member named `key` of an object, or null when there is none.
    const JsonValue* Member(std::string_view key) const {
        for (const auto& member : members) {
            if (member.first == key) return &member.second;
        }
        return nullptr;
    }
};

class JsonReader {
public:
    static JsonValue Parse(std::string_view text) {
        JsonReader reader(text);
        JsonValue value = reader.Value();
        reader.SkipBlanks();
        if (reader.at_ != text.size()) reader.Fail("text after the value");
        return value;
    }

private:
    explicit JsonReader(std::string_view text) : text_(text) {}

    [[noreturn]] void Fail(const char* what) const {
        throw std::runtime_error(std::string("JSON: ") + what + " at byte " + std::to_string(at_));
    }
    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) ++at_;
    }
    char Peek() {
        SkipBlanks();
        if (at_ >= text_.size()) Fail("unexpected end");
        return text_[at_];
    }
    void Expect(char c) {
        if (Peek() != c) Fail("unexpected character");
        ++at_;
    }
    bool Literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    JsonValue Value() {
        JsonValue value;
        const char c = Peek();
        if (c == '{') {
            value.kind = JsonValue::kObject;
            ++at_;
            if (Peek() == '}') return ++at_, value;
            for (;;) {
                if (Peek() != '"') Fail("a member name expected");
                std::string key = String();
                Expect(':');
                value.members.emplace_back(std::move(key), Value());
                if (Peek() == '}') return ++at_, value;
                Expect(',');
            }
        }
        if (c == '[') {
            value.kind = JsonValue::kArray;
            ++at_;
            if (Peek() == ']') return ++at_, value;
            for (;;) {
                value.items.push_back(Value());
                if (Peek() == ']') return ++at_, value;
                Expect(',');
            }
        }
        if (c == '"') {
            value.kind = JsonValue::kString;
            value.text = String();
        } else if (Literal("true")) {
            value.kind = JsonValue::kBool;
            value.text = "true";
        } else if (Literal("false")) {
            value.kind = JsonValue::kBool;
            value.text = "false";
        } else if (Literal("null")) {
            value.kind = JsonValue::kNull;
        } else {
            const std::size_t start = at_;
            while (at_ < text_.size() && std::string_view("+-.0123456789eE").find(text_[at_]) != std::string_view::npos) ++at_;
            if (at_ == start) Fail("a value expected");
            value.kind = JsonValue::kNumber;
            value.text = std::string(text_.substr(start, at_ - start));
        }
        return value;
    }

    uint32_t Hex4() {
        if (at_ + 4 > text_.size()) Fail("cut \\u escape");
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                            : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (digit < 0) Fail("bad \\u escape");
            value = value * 16 + uint32_t(digit);
        }
        return value;
    }

    static void AppendUtf8(std::string& out, uint32_t c) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }

    std::string String() {
        Expect('"');
        std::string out;
        for (;;) {
            if (at_ >= text_.size()) Fail("unterminated string");
            const char c = text_[at_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) Fail("unterminated string");
            const char e = text_[at_++];
            switch (e) {
                case '"': case '\\': case '/': out += e; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    uint32_t code = Hex4();
                    if (code >= 0xD800 && code <= 0xDBFF && Literal("\\u")) {
                        const uint32_t low = Hex4();
                        if (low < 0xDC00 || low > 0xDFFF) Fail("bad surrogate pair");
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xD800 && code <= 0xDFFF) {
                        Fail("lone surrogate");
                    }
                    AppendUtf8(out, code);
                    break;
                }
                default: Fail("bad escape");
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};
