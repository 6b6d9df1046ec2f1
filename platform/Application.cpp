#include "platform/Application.h"

#include "platform/Window.h"

bool Application::preTranslateMessage(MSG&) { return false; }

int Application::run(HINSTANCE instance, const char* commandLine) {
    instance_ = instance;
    if (initInstance(commandLine != nullptr ? commandLine : "")) {
        MSG message;
        message.message = 0;
        while (!loopEnded_ && GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (preTranslateMessage(message) || TranslateDialogKeys(message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (message.message == WM_QUIT) exitCode_ = static_cast<int>(message.wParam);
    }
    return exitOnce();
}

void Application::endMessageLoop() {
    loopEnded_ = true;
    PostQuitMessage(0);
}

int Application::exitOnce() {
    if (!exited_) {
        exited_ = true;
        int code = exitInstance();
        if (code != 0) exitCode_ = code;
    }
    return exitCode_;
}
