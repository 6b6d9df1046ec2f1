#include "app/ClockApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    static ClockApp app;
    return app.run(instance, commandLine);
}
