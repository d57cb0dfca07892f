#pragma once

#include <cstdio>
#include <string>

namespace ravelin::bench {

// A calendar day as a count of days since 1970-01-01 (proleptic Gregorian), with the civil
// conversions of H. Hinnant: small, exact and independent of the time zone of the machine.
struct Day
{
    int days = 0;

    static Day fromYmd(int y, int m, int d)
    {
        y -= m <= 2;
        const int era = (y >= 0 ? y : y - 399) / 400;
        const unsigned yoe = static_cast<unsigned>(y - era * 400);
        const unsigned doy = (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
        const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return Day{era * 146097 + static_cast<int>(doe) - 719468};
    }

    void ymd(int &y, int &m, int &d) const
    {
        const int z = days + 719468;
        const int era = (z >= 0 ? z : z - 146096) / 146097;
        const unsigned doe = static_cast<unsigned>(z - era * 146097);
        const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const unsigned mp = (5 * doy + 2) / 153;
        d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
        m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
        y = static_cast<int>(yoe) + era * 400 + (m <= 2);
    }
    int year() const
    {
        int y, m, d;
        ymd(y, m, d);
        return y;
    }
    int month() const
    {
        int y, m, d;
        ymd(y, m, d);
        return m;
    }

    // 0 Sunday, 1 Monday ... 6 Saturday.
    int weekday() const { return days >= -4 ? (days + 4) % 7 : (days + 5) % 7 + 6; }

    Day plus(int n) const { return Day{days + n}; }
    Day plusMonths(int n) const
    {
        int y, m, d;
        ymd(y, m, d);
        int total = y * 12 + (m - 1) + n;
        const int ny = total / 12, nm = total % 12 + 1;
        const int last =
            Day::fromYmd(nm == 12 ? ny + 1 : ny, nm == 12 ? 1 : nm + 1, 1).days - Day::fromYmd(ny, nm, 1).days;
        return fromYmd(ny, nm, d > last ? last : d);
    }
    Day firstOfMonth() const
    {
        int y, m, d;
        ymd(y, m, d);
        return fromYmd(y, m, 1);
    }
    Day lastOfMonth() const { return firstOfMonth().plusMonths(1).plus(-1); }

    std::string iso() const
    {
        int y, m, d;
        ymd(y, m, d);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
        return buf;
    }

    friend bool operator<(Day a, Day b) { return a.days < b.days; }
    friend bool operator<=(Day a, Day b) { return a.days <= b.days; }
    friend bool operator>(Day a, Day b) { return a.days > b.days; }
    friend bool operator>=(Day a, Day b) { return a.days >= b.days; }
    friend bool operator==(Day a, Day b) { return a.days == b.days; }
    friend int operator-(Day a, Day b) { return a.days - b.days; }
};

// A moment: a day and the seconds since midnight.
struct Moment
{
    Day day;
    int seconds = 0;

    std::string iso() const
    {
        char buf[32];
        std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
        return day.iso() + buf;
    }
    friend bool operator<(const Moment &a, const Moment &b)
    {
        return a.day.days != b.day.days ? a.day.days < b.day.days : a.seconds < b.seconds;
    }
};

} // namespace ravelin::bench
