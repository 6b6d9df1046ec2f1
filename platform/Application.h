// The application object: start-up, the message loop with a pre-dispatch filter, and exit.
#pragma once

#include <windows.h>

#include <string>

class Application {
public:
    Application() = default;
    virtual ~Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up; the message loop when start-up succeeded; exit in every case.
    int run(HINSTANCE instance, const char* commandLine);

    // The exit steps, run once: after the message loop, or when the session ends first.
    int exitOnce();
    // Ends the message loop once the message being handled returns. The loop does not rely on
    // WM_QUIT alone: a filtered PeekMessage anywhere in the thread may take it from the queue.
    void endMessageLoop();

    HINSTANCE instance() const { return instance_; }
    HWND mainWindow() const { return mainWindow_; }
    void setMainWindow(HWND window) { mainWindow_ = window; }
    // Where an application would keep its own settings in the registry; nothing is kept there.
    void setRegistryKey(const std::string& name) { registryKey_ = name; }

protected:
    virtual bool initInstance(const char* commandLine) = 0;
    virtual int exitInstance() { return 0; }
    // Sees every message before it is dispatched; true when it consumed the message.
    virtual bool preTranslateMessage(MSG& message);

private:
    HINSTANCE instance_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::string registryKey_;
    bool exited_ = false;
    bool loopEnded_ = false;
    int exitCode_ = 0;
};
