// The World Clock window: the user's world places in a list view, each with its local time, its
// date where it is not the PC's, its offset from UTC, day, twilight or night, and its own day's
// sunrise, sunset and length; places are added by name (matches appear as the name is typed) or
// by coordinates and a zone, renamed, reordered, shown on the globe or not, and removed, each
// through the settings owner. At most one; the times move on when the minute turns, and not at
// all while the window is minimised.
#pragma once

#include "app/ClockSettings.h"
#include "location/WorldPlaces.h"
#include "platform/HandleOwners.h"
#include "platform/Window.h"
#include "ui/SkinButton.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct WorldClockInputs {
    ClockSettings& settings;
    // Turns the earth clock's globe over a place (degrees) and shows it.
    std::function<void(double latitude, double longitude)> turnGlobeOver;
    // Takes on a hand edit of the settings file, before the user works on the list.
    std::function<void()> followSettingsFile;
};

class WorldClockWindow : public Window {
public:
    explicit WorldClockWindow(WorldClockInputs inputs) : inputs_(std::move(inputs)) {}
    ~WorldClockWindow() override;
    // Opens the window centred on the primary display, or brings it to the front when open.
    void open();

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onCreate() override;
    void onDestroy() override;
    bool onCommand(UINT id) override;
    void onTimer(UINT_PTR id) override;
    void onPaint(HDC dc) override;
    bool onEraseBackground(HDC dc) override;
    bool onDrawItem(const DRAWITEMSTRUCT& item) override;
    void onSize(int width, int height, UINT kind) override;
    void onDpiLayout(UINT dpi) override;

private:
    // A place's day, kept while its local calendar day lasts.
    struct KeptDay {
        std::string timeZone;
        double latitude = 0, longitude = 0;
        int64_t startUtc = 0, endUtc = 0;
        std::optional<int64_t> sunrise, sunset;
        double dayLengthHours = 0;
    };

    bool createChildren();
    void layout();
    void fillList();
    void refreshTimes();
    void armMinuteTimer();
    void resume();
    void showMatches();
    void addMatch();
    void addAtCoordinates();
    bool add(const PlaceSetting& place);
    void editSelected(const std::function<bool(WorldSettings&, std::size_t)>& edit, int follow);
    void turnGlobeOverSelected();
    void renameSelected();
    bool onNotify(const NMHDR& notice, LRESULT& result);
    int selected() const;
    void setStatus(const std::string& text);
    void setStatusCount();
    HBRUSH controlColours(UINT message, HDC dc) const;

    WorldClockInputs inputs_;
    WorldPlaces places_;
    bool placesLoaded_ = false;
    std::vector<std::size_t> matches_;  // the matches list box's places
    std::vector<KeptDay> days_;         // one for each row
    int listener_ = -1;
    bool filling_ = false;        // the list is being made: its notices are not the user's
    int selectAfterChange_ = -1;  // the row to select once the list is made anew
    std::vector<std::string> zoneIds_;  // the zone list's ids, in its order
    std::string statusAfterChange_;  // the status line once the list is made anew, else the count
    bool timesStale_ = false;     // minimised past a minute's turn
    UINT dpi_ = 96;
    GdiFont font_, titleFont_;
    SkinButton close_;
};
