// Conversions between the programs' UTF-8 strings and the UTF-16 the wide Win32 calls take.
// Every path is kept as UTF-8 and converted only at the call, so any folder name works.
#pragma once

#include <string>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text, std::size_t length);
inline std::string Utf8FromWide(const std::wstring& text) { return Utf8FromWide(text.data(), text.size()); }
