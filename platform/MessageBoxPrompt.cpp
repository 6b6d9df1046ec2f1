#include "platform/MessageBoxPrompt.h"

#include "platform/Resources.h"
#include "platform/WideText.h"

void MessageBoxPrompt::warn(unsigned textId, unsigned captionId) {
    MessageBoxA(nullptr, LoadResourceString(textId).c_str(),
                LoadResourceString(captionId).c_str(), MB_OK | MB_ICONWARNING);
}

void MessageBoxPrompt::error(unsigned textId, unsigned captionId) {
    MessageBoxA(nullptr, LoadResourceString(textId).c_str(),
                LoadResourceString(captionId).c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void MessageBoxPrompt::warnFormatted(unsigned textId, unsigned captionId,
                                     const std::vector<std::string>& inserts) {
    // The inserts (paths, the system's reasons) are UTF-8: shown with the wide calls.
    std::vector<std::wstring> wide;
    for (const std::string& insert : inserts) wide.push_back(WideFromUtf8(insert));
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& insert : wide) arguments.push_back(DWORD_PTR(insert.c_str()));
    const std::wstring format = LoadResourceStringWide(textId);
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY,
        format.c_str(), 0, 0, reinterpret_cast<wchar_t*>(&text), 0,
        reinterpret_cast<va_list*>(arguments.data()));
    MessageBoxW(nullptr, length > 0 ? text : format.c_str(), LoadResourceStringWide(captionId).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    if (text != nullptr) LocalFree(text);
}
