#!/usr/bin/env python3
"""Offsets of zones at a few instants, read by Python's zoneinfo from the system's zone files.

Run once; its output is zone_offsets.csv beside it, which tests/places/BirthTimeTest.cpp reads:

    python3 tests/places/reference/zone_offsets.py > tests/places/reference/zone_offsets.csv

Each row: zone name, the instant (UT, seconds since 1970-01-01), the offset (local minus UT,
seconds) and whether (1) or not (0) the clocks stood ahead of the lowest offset the zone kept in
that local year ("daylight saving as people mean it"; zoneinfo's own dst() is not used, since the database
gives Irish and Namibian winter time as negative daylight saving). The year's lowest offset is
taken from the offset at every hour of the local year.
"""
from datetime import datetime, timedelta, timezone
from zoneinfo import ZoneInfo

ZONES = [
    # one fixed offset
    "UTC", "Etc/UTC", "GMT", "Etc/GMT", "Etc/GMT+5", "Etc/GMT-5", "Etc/GMT-14", "Etc/GMT+12",
    "EST", "MST", "HST",
    # old names kept as links, each beside its present name
    "Asia/Calcutta", "Asia/Kolkata", "Europe/Kiev", "Europe/Kyiv", "US/Eastern",
    "America/New_York", "Asia/Saigon", "Asia/Ho_Chi_Minh", "America/Buenos_Aires",
    "America/Argentina/Buenos_Aires", "America/Thunder_Bay", "America/Toronto",
    "America/Yellowknife", "America/Edmonton", "Asia/Choibalsan", "Asia/Ulaanbaatar",
    # negative daylight saving in the database, and the usual kind
    "Europe/Dublin", "Africa/Windhoek", "Europe/London", "Australia/Sydney",
]

INSTANTS = [
    datetime(1941, 6, 1, 12, tzinfo=timezone.utc),
    datetime(1976, 1, 15, 12, tzinfo=timezone.utc),
    datetime(1990, 1, 15, 12, tzinfo=timezone.utc),
    datetime(1990, 7, 15, 12, tzinfo=timezone.utc),
    datetime(2000, 1, 15, 12, tzinfo=timezone.utc),
    datetime(2000, 7, 15, 12, tzinfo=timezone.utc),
    datetime(2045, 7, 1, 12, tzinfo=timezone.utc),
]


def offset_seconds(zone, instant):
    return int(instant.astimezone(zone).utcoffset().total_seconds())


def lowest_offset_of_local_year(zone, year):
    start = datetime(year, 1, 1, tzinfo=timezone.utc) - timedelta(hours=15)
    end = datetime(year + 1, 1, 1, tzinfo=timezone.utc) + timedelta(hours=15)
    lowest = None
    at = start
    while at < end:
        local = at.astimezone(zone)
        if local.year == year:
            offset = int(local.utcoffset().total_seconds())
            lowest = offset if lowest is None else min(lowest, offset)
        at += timedelta(hours=1)
    return lowest


print("zone,universalSeconds,offsetSeconds,daylightSaving")
for name in ZONES:
    zone = ZoneInfo(name)
    for instant in INSTANTS:
        offset = offset_seconds(zone, instant)
        year = instant.astimezone(zone).year
        ahead = offset > lowest_offset_of_local_year(zone, year)
        print(f"{name},{int(instant.timestamp())},{offset},{1 if ahead else 0}")
