#include "cli/Almanac.h"

#include "app/ClockState.h"
#include "app/Formatting.h"
#include "astro/EarthTilt.h"
#include "astro/Ephemeris.h"
#include "astro/JulianDate.h"
#include "astro/Reduce.h"
#include "astro/RiseSet.h"
#include "cli/AlmanacEclipses.h"

#include <cmath>
#include <cstdio>

namespace {

BodyPlace PlaceOf(double jd, int body) {
    double out[6];
    Reduce(jd, body, kApparentGeocentric, out);
    BodyPlace place;
    for (int k = 0; k < 3; ++k) place.position[k] = out[k];
    VectorToRaDec(out, &place.ra, &place.dec);
    place.distance = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
    return place;
}

std::string Number(double x) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", x);
    return buffer;
}

// Text as a JSON string: Windows-1252 (read as Latin-1), or UTF-8 kept as it is.
std::string JsonString(const std::string& text, bool utf8 = false) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else if (c < 0x80 || utf8) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out + "\"";
}

std::string PlaceJson(const BodyPlace& p) {
    return "{\"x\": " + Number(p.position[0]) + ", \"y\": " + Number(p.position[1]) +
           ", \"z\": " + Number(p.position[2]) + ", \"ra\": " + Number(p.ra) +
           ", \"dec\": " + Number(p.dec) + ", \"distance\": " + Number(p.distance) + "}";
}

std::string EventJson(const ZoneRules& zone, const std::optional<int64_t>& utcSeconds) {
    return utcSeconds ? "\"" + IsoLocalTime(zone, *utcSeconds) + "\"" : "null";
}

std::string LocalPlaceJson(const AlmanacPlace& p) {
    const PlaceDay& d = p.day;
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.date.year, d.date.month, d.date.day);
    return "{\"name\": " + (p.name.empty() ? std::string("null") : JsonString(p.name, true)) +
           ", \"lat\": " + Number(p.latitude) + ", \"lon\": " + Number(p.longitude) +
           ", \"timeZone\": " + JsonString(p.zone.windowsId, true) +
           ", \"utcOffsetMinutes\": " + std::to_string(p.time.utcOffsetMinutes) +
           ", \"localTime\": \"" + IsoLocalTime(p.zone, p.utcSeconds) + "\", \"localDate\": \"" + date +
           "\", \"sunrise\": " + EventJson(p.zone, d.sunrise) + ", \"sunset\": " + EventJson(p.zone, d.sunset) +
           ", \"localNoon\": " + EventJson(p.zone, d.noon) +
           ", \"twilightStart\": " + EventJson(p.zone, d.twilightStart) +
           ", \"twilightEnd\": " + EventJson(p.zone, d.twilightEnd) +
           ", \"dayLengthHours\": " + Number(d.dayLengthHours) + "}";
}

std::string Field(const char* name, const std::string& value, bool last = false) {
    return std::string("  \"") + name + "\": " + value + (last ? "\n" : ",\n");
}

std::string RaText(double hours) {
    const DegreesMinutesSeconds hms = SplitDegrees(hours);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%02dh %02dm %02ds", hms.degrees, hms.minutes, hms.seconds);
    return buffer;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string HomeEclipseJson(const Eclipse& e) {
    const HomeEclipse& h = e.home;
    if (!h.visible) return "{\"visible\": false}";
    std::string contacts = "{", belowHorizon = "[";
    for (const EclipseContact& c : h.contacts) {
        contacts += (contacts.size() > 1 ? ", " : "") + Quoted(c.name) + ": " + Quoted(IsoUtcTime(c.utcJd));
        if (!c.aboveHorizon) belowHorizon += (belowHorizon.size() > 1 ? ", " : "") + Quoted(c.name);
    }
    contacts += "}";
    return "{\"visible\": true, \"contacts\": " + contacts +
           (belowHorizon.size() > 1 ? ", \"belowHorizon\": " + belowHorizon + "]" : "") +
           ", \"maximum\": " + Quoted(IsoUtcTime(h.maximumUtcJd)) +
           ", \"magnitude\": " + Number(h.magnitude) +
           (e.kind == EclipseKind::kSolar ? ", \"obscuration\": " + Number(h.obscuration) : "") + "}";
}

std::string EclipsesJson(const std::vector<Eclipse>& eclipses) {
    std::string out = "[";
    for (const Eclipse& e : eclipses) {
        const bool solar = e.kind == EclipseKind::kSolar;
        out += std::string(out.size() > 1 ? ",\n    " : "\n    ") + "{\"kind\": " +
               Quoted(solar ? "solar" : "lunar") + ", \"type\": " + Quoted(EclipseTypeName(e.type)) +
               ", \"greatest\": " + Quoted(IsoUtcTime(e.greatestUtcJd)) +
               (solar ? ", \"magnitude\": " + Number(e.magnitude) + ", \"gamma\": " + Number(e.gamma)
                      : ", \"umbralMagnitude\": " + Number(e.umbralMagnitude) +
                            ", \"penumbralMagnitude\": " + Number(e.penumbralMagnitude)) +
               ", \"home\": " + HomeEclipseJson(e) + "}";
    }
    return out + (eclipses.empty() ? "]" : "\n  ]");
}

// "2024-04-08 18:17:20 UTC".
std::string UtcText(double utcJd) {
    std::string iso = IsoUtcTime(utcJd);
    iso[10] = ' ';
    iso.back() = ' ';
    return iso + "UTC";
}

}  // namespace

Almanac ComputeAlmanac(const UserOptions& options, CivilClock& clock) {
    Almanac a;
    a.options = options;
    a.state = AstroState();
    UpdateAstroState(a.state, options, clock, true);
    const double jd = a.state.julianDate;
    a.sun = PlaceOf(jd, kSun);
    a.moon = PlaceOf(jd, kMoon);
    a.moonIllumination = MoonIllumination(jd);
    a.moonPhaseAngle = MoonPhaseAngle(jd);
    UpdatePhaseTable(jd, &a.phases);
    return a;
}

std::string AlmanacJson(const Almanac& a) {
    const AstroState& s = a.state;
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", s.localYear, s.localMonth, s.localDay);
    const std::string events =
        "{\"localDate\": \"" + std::string(date) + "\", \"sunrise\": " + Number(s.sunrise) +
        ", \"sunset\": " + Number(s.sunset) + ", \"localNoon\": " + Number(s.localNoon) +
        ", \"twilightStart\": " + Number(s.twilightStart) +
        ", \"twilightEnd\": " + Number(s.twilightEnd) + "}";
    std::string phases = "[";
    for (int i = 0; i < 4; ++i) {
        const PhaseEvent& e = a.phases.entries[i];
        int bitmap;
        phases += std::string(i ? ", " : "") + "{\"julianDate\": " + Number(e.julianDate) +
                  ", \"phase\": " + std::to_string(e.phase) + ", \"name\": " +
                  JsonString(PhaseName(e.phase, &bitmap)) + ", \"label\": " +
                  JsonString(PhaseDateLabel(e.julianDate)) + "}";
    }
    phases += "]";
    return "{\n" + Field("julianDate", Number(s.julianDate)) +
           Field("meanObliquity", Number(s.meanObliquity)) +
           Field("trueObliquity", Number(s.trueObliquity)) +
           Field("equationOfEquinoxes", Number(s.equationOfEquinoxes)) +
           Field("nutationLongitude", Number(s.nutationLongitude)) +
           Field("nutationObliquity", Number(s.nutationObliquity)) +
           Field("greenwichSiderealTime", Number(s.greenwichSiderealTime)) +
           Field("localSiderealTime",
                 Number(LocalSiderealHours(s.greenwichSiderealTime, a.options.homeLongitude))) +
           Field("sun", PlaceJson(a.sun)) + Field("moon", PlaceJson(a.moon)) +
           Field("events", events) + Field("moonIllumination", Number(a.moonIllumination)) +
           Field("moonPhaseAngle", Number(a.moonPhaseAngle)) + Field("phases", phases, !a.place && !a.eclipses) +
           (a.place ? Field("place", LocalPlaceJson(*a.place), !a.eclipses) : std::string()) +
           (a.eclipses ? Field("eclipses", EclipsesJson(*a.eclipses), true) : std::string()) + "}\n";
}

std::string AlmanacPage(const Almanac& a) {
    const AstroState& s = a.state;
    const UserOptions& o = a.options;
    const double toLocal = -o.timeZoneBias / 60.0;
    char line[256];
    std::string page;
    auto add = [&](const char* label, const std::string& value) {
        std::snprintf(line, sizeof line, "%-20s %s\n", label, value.c_str());
        page += line;
    };
    add("Home:", FieldText(o.homeName) + "  " + FormatLatitude(o.homeLatitude, o) + "  " +
                     FormatLongitude(o.homeLongitude, o));
    add("Local time:", FormatLocalDateTime(s, o));
    add("UTC:", FormatUtcDateTime(s));
    std::snprintf(line, sizeof line, "%.5f", s.julianDate);
    add("Julian day:", line);
    add("Greenwich sidereal:", FormatGreenwichSidereal(s));
    add("Local sidereal:", FormatLocalSidereal(s, o));
    if (a.place) {
        // A place in a zone of its own: the events of its local calendar day, each in the
        // offset in force at it (on the day the clocks change, not the offset of the instant).
        const PlaceDay& day = a.place->day;
        const auto event = [&](const std::optional<int64_t>& utc) {
            if (!utc) return FormatEventTime(day.dayLengthHours > 0 ? kEventMarker : -kEventMarker, o);
            const CivilTime local = ZoneTimeAt(a.place->zone, *utc).local;
            return FormatEventTime(local.hour + local.minute / 60.0 + local.second / 3600.0, o);
        };
        add("Sunrise:", event(day.sunrise));
        add("Sunset:", event(day.sunset));
        add("Start Twilight:", event(day.twilightStart));
        add("End Twilight:", event(day.twilightEnd));
        add("Local Noon:", event(day.noon));
    } else {
        add("Sunrise:", FormatEventTime(s.sunrise + toLocal, o));
        add("Sunset:", FormatEventTime(s.sunset + toLocal, o));
        add("Start Twilight:", FormatEventTime(s.twilightStart + toLocal, o));
        add("End Twilight:", FormatEventTime(s.twilightEnd + toLocal, o));
        add("Local Noon:", FormatEventTime(s.localNoon + toLocal, o));
    }
    std::snprintf(line, sizeof line, "  distance %.6f AU", a.sun.distance);
    add("Sun:", RaText(a.sun.ra) + "  " + FormatLatitude(a.sun.dec, o) + line);
    std::snprintf(line, sizeof line, "  distance %.0f km", a.moon.distance * 149597870.691);
    add("Moon:", RaText(a.moon.ra) + "  " + FormatLatitude(a.moon.dec, o) + line);
    std::snprintf(line, sizeof line, "Illumination: %.1f%%, phase angle %.1f", a.moonIllumination,
                  a.moonPhaseAngle);
    add("", line);
    for (const PhaseEvent& e : a.phases.entries) {
        int bitmap;
        add(e.julianDate < s.julianDate ? "Last phase:" : "Next phase:",
            std::string(PhaseName(e.phase, &bitmap)) + ", " + PhaseDateLabel(e.julianDate));
    }
    for (const Eclipse& e : a.eclipses ? *a.eclipses : std::vector<Eclipse>()) {
        const bool solar = e.kind == EclipseKind::kSolar;
        // A penumbral eclipse's umbral magnitude is negative: its penumbral one says how deep it is.
        const double magnitude = solar ? e.magnitude
                                 : e.type == EclipseType::kPenumbral ? e.penumbralMagnitude
                                                                     : e.umbralMagnitude;
        std::snprintf(line, sizeof line, "%s %s, greatest %s, magnitude %.3f", EclipseTypeName(e.type),
                      solar ? "solar" : "lunar", UtcText(e.greatestUtcJd).c_str(), magnitude);
        add("Eclipse:", line);
        if (!e.home.visible) {
            add("", "not seen from home");
            continue;
        }
        std::snprintf(line, sizeof line, "seen from home: maximum %s, magnitude %.3f",
                      UtcText(e.home.maximumUtcJd).c_str(), e.home.magnitude);
        add("", line + (solar ? ", obscuration " + std::to_string(int(std::lround(e.home.obscuration * 100))) + "%"
                              : std::string()));
        for (const EclipseContact& c : e.home.contacts) {
            add("", c.name + std::string(" ") + UtcText(c.utcJd) + (c.aboveHorizon ? "" : " (below the horizon)"));
        }
    }
    if (a.eclipsesEndJd) {
        int year, month, day;
        double hour;
        CalendarDate(*a.eclipsesEndJd, &year, &month, &day, &hour);
        std::snprintf(line, sizeof line, "%s before the ephemeris ends (%04d-%02d-%02d)",
                      a.eclipses->empty() ? "none" : "no more", year, month, day);
        add("Eclipse:", line);
    }
    return page;
}
