// The working date: the question the start asks when the computer's date is
// not to be used, and the years a working date and a working year may take.
#pragma once

// The working year of a fresh installation: the computer's year.
int ComputerYear();
// The last working year the options accept: at least the year after the
// computer's (the last year the rules name, 2025, on an older clock).
int LastWorkingYear();
// The last year of a working date asked at the start.
constexpr int LAST_START_YEAR = 2030;
constexpr int FIRST_WORKING_DATE_YEAR = 1980;

// Only while the system-date switch is 'N': asks "Podaj datę" starting from
// the computer's date and makes the answer the environment's working date.
// 0 (also when nothing is asked), -1 when left with Esc.
int AskWorkingDate();
// The same with the year limited to FIRST_WORKING_DATE_YEAR..lastYear.
int AskWorkingDateUpTo(int lastYear);
