#include "platform/MessageBoxPrompt.h"

#include "platform/Resources.h"

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
    std::vector<DWORD_PTR> arguments;
    for (const std::string& insert : inserts) arguments.push_back(DWORD_PTR(insert.c_str()));
    const std::string format = LoadResourceString(textId);
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY,
        format.c_str(), 0, 0, reinterpret_cast<char*>(&text), 0,
        reinterpret_cast<va_list*>(arguments.data()));
    MessageBoxA(nullptr, length > 0 ? text : format.c_str(), LoadResourceString(captionId).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    if (text != nullptr) LocalFree(text);
}
