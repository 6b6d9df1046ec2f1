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
