// Conversions between the programs' UTF-8 strings and the UTF-16 the wide Win32 calls take.
// Every path is kept as UTF-8 and converted only at the call, so any folder name works.
#pragma once

#include <string>
#include <vector>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text, std::size_t length);
inline std::string Utf8FromWide(const std::wstring& text) { return Utf8FromWide(text.data(), text.size()); }

// `text` in the system's ANSI code page, the form the options record keeps names in. False
// when some characters have no exact form there (none is replaced by a look-alike); `lost`
// then holds each of them once (a surrogate pair as one), in the order met, and `ansi` is
// left alone.
bool AnsiFromWide(const std::wstring& text, std::string& ansi, std::vector<std::wstring>& lost);
