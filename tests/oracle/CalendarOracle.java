// Prints the golden transcript of tests/fixtures/calendar_oracle.txt: java.util.GregorianCalendar's
// fields for fixed and pseudo-random instants (the 1582 cutover, 1900, leap days, negative times,
// daylight-saving changes), the instants it makes from set fields, and SimpleTimeZone's offsets by
// rule. tests/classlib/calendar_oracle_test.cpp reads each line, does the same with our classes and
// compares. Years are printed astronomically (1 BC = 0). Regenerate with:
//     javac -d /tmp/oracle tests/oracle/CalendarOracle.java
//     java -cp /tmp/oracle CalendarOracle > tests/fixtures/calendar_oracle.txt
import java.util.ArrayList;
import java.util.Calendar;
import java.util.GregorianCalendar;
import java.util.List;
import java.util.Random;
import java.util.SimpleTimeZone;
import java.util.TimeZone;

public final class CalendarOracle {
    static final long DAY = 86400000L;
    static final long CUTOVER = -12219292800000L;

    // The zones, by the names the C++ test knows them by.
    static TimeZone zone(String name) {
        switch (name) {
            case "UTC": return new SimpleTimeZone(0, "UTC");
            case "P0530": return new SimpleTimeZone(19800000, "P0530");
            case "M0500": return new SimpleTimeZone(-18000000, "M0500");
            // last Sunday of March 01:00 to last Sunday of October 02:00 (wall)
            case "NORTH": return new SimpleTimeZone(3600000, "NORTH", Calendar.MARCH, -1, Calendar.SUNDAY, 3600000,
                    Calendar.OCTOBER, -1, Calendar.SUNDAY, 7200000, 3600000);
            // first Sunday of October 02:00 to last Sunday of March 03:00 (wall)
            case "SOUTH": return new SimpleTimeZone(36000000, "SOUTH", Calendar.OCTOBER, 1, Calendar.SUNDAY, 7200000,
                    Calendar.MARCH, -1, Calendar.SUNDAY, 10800000, 3600000);
            // first Sunday on or after March 8 to the last Sunday on or before November 25, half an hour
            case "ONAFTER": return new SimpleTimeZone(-18000000, "ONAFTER", Calendar.MARCH, 8, -Calendar.SUNDAY,
                    7200000, Calendar.NOVEMBER, -25, -Calendar.SUNDAY, 7200000, 1800000);
            // April 1 00:00 to September 30 00:00 (days of the month)
            case "DAYS": return new SimpleTimeZone(0, "DAYS", Calendar.APRIL, 1, 0, 0, Calendar.SEPTEMBER, 30, 0, 0,
                    3600000);
            default: throw new IllegalArgumentException(name);
        }
    }

    static GregorianCalendar calendar(String zoneName) {
        GregorianCalendar c = new GregorianCalendar(zone(zoneName));
        c.clear();
        return c;
    }

    static int year(Calendar c) {
        int y = c.get(Calendar.YEAR);
        return c.get(Calendar.ERA) == GregorianCalendar.BC ? 1 - y : y;
    }

    static void fields(String zoneName, long ms) {
        Calendar c = calendar(zoneName);
        c.setTimeInMillis(ms);
        System.out.println("fields " + zoneName + " " + ms + " : " + year(c) + " " + c.get(Calendar.MONTH) + " "
                + c.get(Calendar.DATE) + " " + c.get(Calendar.DAY_OF_WEEK) + " " + c.get(Calendar.HOUR_OF_DAY) + " "
                + c.get(Calendar.AM_PM) + " " + c.get(Calendar.HOUR) + " " + c.get(Calendar.MINUTE) + " "
                + c.get(Calendar.SECOND) + " " + c.get(Calendar.MILLISECOND));
    }

    // ops: "Y=1900" (astronomical year), "M=", "D=", "HOD=", "HR=", "AP=", "MIN=", "SEC=", "MS=".
    static void sets(String zoneName, long ms, String... ops) {
        Calendar c = calendar(zoneName);
        c.setTimeInMillis(ms);
        StringBuilder line = new StringBuilder("set " + zoneName + " " + ms);
        for (String op : ops) {
            line.append(' ').append(op);
            String[] kv = op.split("=");
            int v = Integer.parseInt(kv[1]);
            switch (kv[0]) {
                case "Y":
                    c.set(Calendar.ERA, v <= 0 ? GregorianCalendar.BC : GregorianCalendar.AD);
                    c.set(Calendar.YEAR, v <= 0 ? 1 - v : v);
                    break;
                case "M": c.set(Calendar.MONTH, v); break;
                case "D": c.set(Calendar.DATE, v); break;
                case "HOD": c.set(Calendar.HOUR_OF_DAY, v); break;
                case "HR": c.set(Calendar.HOUR, v); break;
                case "AP": c.set(Calendar.AM_PM, v); break;
                case "MIN": c.set(Calendar.MINUTE, v); break;
                case "SEC": c.set(Calendar.SECOND, v); break;
                case "MS": c.set(Calendar.MILLISECOND, v); break;
                default: throw new IllegalArgumentException(op);
            }
        }
        System.out.println(line + " : " + c.getTimeInMillis());
    }

    static void offset(String zoneName, int year, int month, int day, int dayOfWeek, int millis) {
        int offset = zone(zoneName).getOffset(GregorianCalendar.AD, year, month, day, dayOfWeek, millis);
        System.out.println("offset " + zoneName + " " + year + " " + month + " " + day + " " + dayOfWeek + " " + millis
                + " : " + offset);
    }

    static long utc(int year, int month, int day, int hour, int minute) {
        Calendar c = calendar("UTC");
        c.set(Calendar.ERA, year <= 0 ? GregorianCalendar.BC : GregorianCalendar.AD);
        c.set(year <= 0 ? 1 - year : year, month, day, hour, minute, 0);
        return c.getTimeInMillis();
    }

    public static void main(String[] args) {
        List<Long> instants = new ArrayList<>();
        long[] fixed = {0, -1, 1, 999, 1000, DAY - 1, DAY, -DAY, -DAY - 1, 951782400000L, 1234567890123L,
            CUTOVER - 1, CUTOVER, CUTOVER + 1, CUTOVER - DAY, CUTOVER + DAY - 1, CUTOVER - 10 * DAY,
            -62135596800000L, -62135596800001L, -62198755200000L, -210866760000000L, 253402300799999L,
            32503680000000L, -30610224000000L};
        for (long ms : fixed) instants.add(ms);
        // Leap days and their neighbours: 1900 (not leap), 2000 (leap), 2100, 1600, the Julian years
        // 1500 and 1000, year 0 and -4 (leap in the Julian reckoning).
        int[] years = {1900, 2000, 2100, 1600, 1700, 1582, 1583, 1500, 1000, 4, 1, 0, -4, -100, 2400, 1970, 1969};
        for (int y : years)
            for (int[] md : new int[][] {{1, 28}, {1, 29}, {2, 1}, {11, 31}, {0, 1}})
                for (int hm : new int[] {0, 23 * 60 + 59}) instants.add(utc(y, md[0], md[1], hm / 60, hm % 60));
        Random random = new Random(18);
        for (int i = 0; i < 300; ++i) instants.add((random.nextLong() >> 17));  // about +-2200 years
        for (int i = 0; i < 200; ++i) instants.add(CUTOVER + (random.nextLong() >> 27));  // +-2 years of it
        for (int i = 0; i < 100; ++i) instants.add((random.nextLong() >> 10));  // +-140000 years
        for (long ms : instants) fields("UTC", ms);
        for (int i = 0; i < 60; ++i) {
            long ms = instants.get(random.nextInt(instants.size()));
            fields("P0530", ms);
            fields("M0500", ms);
        }

        // Daylight saving: around every change of 2009, 2012 and 1999, and days across the year.
        for (String name : new String[] {"NORTH", "SOUTH", "ONAFTER", "DAYS"}) {
            TimeZone z = zone(name);
            for (int y : new int[] {1999, 2009, 2012}) {
                long from = utc(y, 0, 1, 0, 0);
                for (long t = from; t < from + 366 * DAY; t += 3600000) {
                    if (z.getOffset(t) != z.getOffset(t + 3600000)) {
                        for (long d = -5400000; d <= 5400000; d += 900000) fields(name, t + d);
                        fields(name, t + 3599999);
                    }
                }
                for (int k = 0; k < 12; ++k) fields(name, from + k * 31 * DAY + random.nextInt((int) DAY));
            }
        }

        // Offsets by rule: every day of the rule months of 2012 (a leap year) at the moments where
        // rules change, the 1st and 15th of the other months at noon.
        int[] millis = {0, 3599999, 3600000, 7199999, 7200000, 10799999, 10800000, 86399999};
        for (String name : new String[] {"NORTH", "SOUTH", "ONAFTER", "DAYS"}) {
            Calendar c = calendar("UTC");
            c.set(2012, 0, 1);
            while (c.get(Calendar.YEAR) == 2012) {
                int month = c.get(Calendar.MONTH);
                int day = c.get(Calendar.DATE);
                int dow = c.get(Calendar.DAY_OF_WEEK);
                boolean ruleMonth = month == 2 || month == 3 || month == 8 || month == 9 || month == 10;
                if (ruleMonth)
                    for (int m : millis) offset(name, 2012, month, day, dow, m);
                else if (day == 1 || day == 15)
                    offset(name, 2012, month, day, dow, 43200000);
                c.add(Calendar.DATE, 1);
            }
        }

        // Instants from set fields.
        long t = 1236413109000L;  // 2009-03-07 08:05:09 UTC
        sets("UTC", t);
        sets("UTC", t, "M=12");
        sets("UTC", t, "M=13");
        sets("UTC", t, "M=15");
        sets("UTC", t, "M=3", "D=31");
        sets("UTC", t, "D=0");
        sets("UTC", t, "M=0", "D=0");
        sets("UTC", t, "HOD=-1");
        sets("UTC", t, "HOD=23", "MIN=60");
        sets("UTC", t, "SEC=60", "MS=1000");
        sets("UTC", t, "Y=1900", "M=1", "D=29");
        sets("UTC", t, "Y=2000", "M=1", "D=29");
        sets("UTC", t, "Y=1500", "M=1", "D=29");
        sets("UTC", t, "Y=1582", "M=9", "D=4");
        sets("UTC", t, "Y=1582", "M=9", "D=15");
        sets("UTC", t, "Y=1582", "M=9", "D=10");
        sets("UTC", t, "Y=1582", "M=0", "D=1");
        sets("UTC", t, "Y=1581", "M=15", "D=1");
        sets("UTC", t, "Y=1583", "M=0", "D=0");
        sets("UTC", t, "Y=1", "M=0", "D=1");
        sets("UTC", t, "Y=0", "M=1", "D=29");
        sets("UTC", t, "Y=-4712", "M=0", "D=1", "HOD=12");
        sets("UTC", t, "Y=1969", "M=11", "D=31", "HOD=23", "MIN=59", "SEC=59", "MS=999");
        sets("UTC", t, "HR=3", "AP=1");
        sets("UTC", t, "HR=11", "AP=0");
        sets("UTC", t, "HOD=20", "HR=3", "AP=0");
        sets("UTC", t, "AP=1");
        sets("UTC", t, "AP=1", "HR=12");
        sets("UTC", t, "HOD=25");
        sets("UTC", t, "D=32");
        sets("UTC", t, "MIN=64");
        sets("P0530", t, "HOD=2");
        sets("M0500", t, "HOD=22");
        sets("NORTH", t, "M=6", "HOD=12");
        sets("NORTH", t, "M=0", "HOD=12");
        sets("NORTH", t, "M=2", "D=29", "HOD=0", "MIN=30");
        sets("NORTH", t, "M=2", "D=29", "HOD=3");
        sets("NORTH", t, "M=9", "D=25", "HOD=0", "MIN=30");
        sets("NORTH", t, "M=9", "D=25", "HOD=3");
        sets("SOUTH", t, "M=0", "HOD=12");
        sets("SOUTH", t, "M=6", "HOD=12");
    }
}
