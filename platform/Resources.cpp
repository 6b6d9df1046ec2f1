#include "platform/Resources.h"

std::string LoadResourceString(UINT id, HINSTANCE module) {
    if (module == nullptr) module = GetModuleHandleA(nullptr);
    char buffer[1024];
    int length = LoadStringA(module, id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}
