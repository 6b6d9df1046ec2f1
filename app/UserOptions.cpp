#include "app/UserOptions.h"

#include <cmath>
#include <cstring>

void SetDefaultOptions(UserOptions& options) {
    std::memset(&options, 0, sizeof options);
    options.units = 1;
    options.reserved12 = 1;
    options.viewpoint = kViewOverHome;
    options.displayFlags = kShowNightShadow | kShowSun | kShowMoon | kShowTimeZone |
                           kDegreesMinutesSeconds | kRealisticTerminator;
    options.timeDisplay = kTimeLocalCivil;
    options.spinSpeed = 1;
    options.homeLongitude = -81.38f;
    options.homeLatitude = 28.55f;
    SetFieldText(options.homeName, std::string("Orlando, FL"));
    options.noticeFlags = kNoticeFullScreen | kNoticeCloseToTray;
    options.frameRight = 570;
    options.frameBottom = 520;
    options.proxyPort = 37;
    options.wallpaperFullDesktop = 1;
    options.wallpaperMoonPhases = 1;
    options.startWithWindows = 1;
    options.wallpaperMinutes = 10;
    options.wallpaperWidth = 800;
    options.wallpaperHeight = 600;
}

bool RepairImpossibleOptions(UserOptions& options) {
    UserOptions defaults;
    SetDefaultOptions(defaults);
    bool repaired = false;
    if (!(std::fabs(options.homeLatitude) <= 90) || !(std::fabs(options.homeLongitude) <= 180)) {
        options.homeLatitude = defaults.homeLatitude;
        options.homeLongitude = defaults.homeLongitude;
        repaired = true;
    }
    return repaired;
}
