#include "desktop/WallpaperPlan.h"

#include "platform/Registry.h"
#include "settings/SettingsChoices.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

// The largest side a wallpaper picture can have, as General settings allows it.
constexpr int kMaxSide = int(kMaxWallpaperSide);

// The edges of a `width` x `height` picture shown over `area` that lie outside `work`, scaled
// from the screen to the picture.
void SetCovered(const ScreenRect& area, const ScreenRect& work, PlannedPicture* picture) {
    if (area.width() <= 0 || area.height() <= 0) return;
    const double x = double(picture->width) / area.width(), y = double(picture->height) / area.height();
    const auto scaled = [](int pixels, double by) { return int(std::lround(std::max(0, pixels) * by)); };
    picture->coveredLeft = scaled(work.left - area.left, x);
    picture->coveredTop = scaled(work.top - area.top, y);
    picture->coveredRight = scaled(area.right - work.right, x);
    picture->coveredBottom = scaled(area.bottom - work.bottom, y);
}

PlannedPicture WholeDesktop(const WallpaperLayout& layout) {
    PlannedPicture p;
    p.fileName = kDesktopPictureName;
    p.width = layout.primary.area.width();
    p.height = layout.primary.area.height();
    if (!layout.fullDesktop && layout.storedWidth > 0 && layout.storedWidth <= kMaxSide && layout.storedHeight > 0 &&
        layout.storedHeight <= kMaxSide) {
        p.width = layout.storedWidth;
        p.height = layout.storedHeight;
    }
    p.dpi = layout.primary.dpi;
    SetCovered(layout.primary.area, layout.primary.work, &p);
    return p;
}

// One picture over the bounding box of all monitors. Its phases go inside the band every
// monitor's work area shares (side by side monitors: each corner on a screen), or inside the
// primary's work area when the monitors share none.
PlannedPicture AcrossAll(const WallpaperLayout& layout) {
    ScreenRect box = layout.monitors.front().area, shared = layout.monitors.front().work;
    for (const MonitorArea& m : layout.monitors) {
        box = {std::min(box.left, m.area.left), std::min(box.top, m.area.top), std::max(box.right, m.area.right),
               std::max(box.bottom, m.area.bottom)};
        shared = {std::min(shared.left, m.work.left), std::max(shared.top, m.work.top),
                  std::max(shared.right, m.work.right), std::min(shared.bottom, m.work.bottom)};
    }
    if (shared.height() <= 0) shared = layout.primary.work;
    PlannedPicture p;
    p.target = PictureTarget::AllMonitors;
    p.fileName = kDesktopPictureName;
    p.width = std::min(box.width(), kMaxSide);
    p.height = std::min(box.height(), kMaxSide);
    p.dpi = layout.primary.dpi;
    SetCovered(box, shared, &p);
    return p;
}

}  // namespace

std::vector<PlannedPicture> PlanWallpaperPictures(const WallpaperLayout& layout) {
    std::vector<MonitorArea> monitors;
    for (const MonitorArea& m : layout.monitors) {
        if (m.area.width() > 0 && m.area.height() > 0 && m.area.width() <= kMaxSide && m.area.height() <= kMaxSide) {
            monitors.push_back(m);
        }
    }
    if (monitors.empty() || !layout.fullDesktop) return {WholeDesktop(layout)};
    if (layout.acrossMonitors && monitors.size() > 1) {
        WallpaperLayout valid = layout;
        valid.monitors = monitors;
        return {AcrossAll(valid)};
    }
    std::vector<PlannedPicture> pictures;
    for (const MonitorArea& m : monitors) {
        PlannedPicture p;
        p.target = PictureTarget::OneMonitor;
        p.monitorId = m.id;
        p.fileName = monitors.size() == 1 ? kDesktopPictureName : MonitorPictureName(m.id);
        p.width = m.area.width();
        p.height = m.area.height();
        p.dpi = m.dpi;
        SetCovered(m.area, m.work, &p);
        pictures.push_back(p);
    }
    return pictures;
}

std::string MonitorPictureName(const std::string& monitorId) {
    // FNV-1a: short, stable across runs, and spread enough for a handful of monitors.
    uint32_t hash = 2166136261u;
    for (const unsigned char c : monitorId) hash = (hash ^ c) * 16777619u;
    char name[32];
    std::snprintf(name, sizeof name, "Solvane-%08x.bmp", unsigned(hash));
    return name;
}

bool IsMonitorPictureName(const std::string& fileName) {
    const std::string prefix = "Solvane-", suffix = ".bmp";
    if (fileName.size() != prefix.size() + 8 + suffix.size()) return false;
    if (fileName.compare(0, prefix.size(), prefix) != 0) return false;
    if (fileName.compare(prefix.size() + 8, suffix.size(), suffix) != 0) return false;
    return std::all_of(fileName.begin() + prefix.size(), fileName.begin() + prefix.size() + 8,
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

namespace {

const char kUserPositionValue[] = "UserPosition";
const char kAppliedPositionValue[] = "AppliedPosition";

bool ReadPosition(Registry& registry, const char* valueName, WallpaperPosition* position) {
    std::string text;
    if (!registry.getString(RegistryRoot::CurrentUser, kHeldPlacementKeyPath, valueName, text)) return false;
    text.resize(std::min(text.size(), text.find('\0')));
    if (text.size() != 1 || text[0] < '0' || text[0] > '5') return false;
    *position = WallpaperPosition(text[0] - '0');
    return true;
}

bool WritePosition(Registry& registry, const char* valueName, WallpaperPosition position) {
    const char text[2] = {char('0' + int(position)), '\0'};  // the string's terminating NUL stored too
    return registry.setString(RegistryRoot::CurrentUser, kHeldPlacementKeyPath, valueName, std::string(text, 2), true);
}

}  // namespace

const char kHeldPlacementKeyPath[] = "Software\\Kelbrook\\Solvane\\Wallpaper";

PlacementStep PlaceWallpaperPictures(const std::vector<PlannedPicture>& plan, WallpaperPosition current,
                                     const HeldPlacement& held) {
    const WallpaperPosition users = held.held && current == held.applied ? held.users : current;
    const auto countOf = [&](PictureTarget target) {
        return std::count_if(plan.begin(), plan.end(), [&](const PlannedPicture& p) { return p.target == target; });
    };
    WallpaperPosition needed = users;
    if (countOf(PictureTarget::AllMonitors) > 0) needed = WallpaperPosition::Span;
    if (countOf(PictureTarget::OneMonitor) > 1 && users == WallpaperPosition::Span) needed = WallpaperPosition::Fill;
    PlacementStep step;
    step.change = needed != current;
    step.position = needed;
    if (needed != users) step.held = {true, users, needed};
    return step;
}

PlacementStep GiveBackPlacement(WallpaperPosition current, const HeldPlacement& held) {
    PlacementStep step;
    step.change = held.held && current == held.applied && current != held.users;
    step.position = held.users;
    return step;
}

HeldPlacement LoadHeldPlacement(Registry& registry) {
    HeldPlacement held;
    held.held = ReadPosition(registry, kUserPositionValue, &held.users) &&
                ReadPosition(registry, kAppliedPositionValue, &held.applied);
    return held;
}

bool StoreHeldPlacement(Registry& registry, const HeldPlacement& held) {
    if (!held.held) {
        registry.deleteValue(RegistryRoot::CurrentUser, kHeldPlacementKeyPath, kAppliedPositionValue);
        registry.deleteValue(RegistryRoot::CurrentUser, kHeldPlacementKeyPath, kUserPositionValue);
        return !LoadHeldPlacement(registry).held;
    }
    return WritePosition(registry, kUserPositionValue, held.users) &&
           WritePosition(registry, kAppliedPositionValue, held.applied);
}
