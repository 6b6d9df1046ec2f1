#include "platform/SystemError.h"

#include "platform/WideText.h"

#include <windows.h>

std::string SystemErrorText(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = length > 0 ? Utf8FromWide(text, length) : "Error " + std::to_string(error);
    if (text != nullptr) LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' ')) {
        result.pop_back();
    }
    // Some texts name the file as an insert ("%1 is not a valid Win32 application"); the caller
    // names the file itself.
    for (std::size_t at; (at = result.find("%1")) != std::string::npos;) result.replace(at, 2, "the file");
    return result;
}
