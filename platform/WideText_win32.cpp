#include "platform/WideText.h"

#include <windows.h>

#include <algorithm>

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &wide[0], length);
    return wide;
}

std::string Utf8FromWide(const wchar_t* text, std::size_t length) {
    if (length == 0) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
    std::string utf8(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, int(length), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

namespace {

// Whether `count` UTF-16 units convert to the ANSI code page exactly; the bytes go to `out`.
bool ConvertsExactly(const wchar_t* text, int count, std::string* out) {
    const UINT codePage = GetACP();
    // UTF-8 holds every character and takes neither flag nor default-character test.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* defaultTest = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(codePage, flags, text, count, nullptr, 0, nullptr, defaultTest);
    if (size <= 0 || usedDefault) return false;
    if (out != nullptr) {
        out->assign(std::size_t(size), '\0');
        WideCharToMultiByte(codePage, flags, text, count, &(*out)[0], size, nullptr, nullptr);
    }
    return true;
}

}  // namespace

bool AnsiFromWide(const std::wstring& text, std::string& ansi, std::vector<std::wstring>& lost) {
    lost.clear();
    if (text.empty()) {
        ansi.clear();
        return true;
    }
    std::string converted;
    if (ConvertsExactly(text.data(), int(text.size()), &converted)) {
        ansi = converted;
        return true;
    }
    // Character by character (a surrogate pair is one), to name those that do not convert.
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t units =
            (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
             text[i + 1] <= 0xDFFF) ? 2 : 1;
        const std::wstring character = text.substr(i, units);
        if (!ConvertsExactly(character.data(), int(units), nullptr) &&
            std::find(lost.begin(), lost.end(), character) == lost.end()) {
            lost.push_back(character);
        }
        i += units;
    }
    return false;
}
