// The user's own reminders, read from "DIAR.TXT" in the current directory.
#pragma once

// Names of the weekdays as reminder captions, Sunday first.
extern const char* const WeekdayNames[7];

// Shows every line of the reminder file due on the displayed date or today's
// weekday, each in a box of its own, in file order.  A missing or locked
// file shows nothing; a read error after the file was opened ends the
// reading, and the lines after the fault are not shown.
void ShowReminders();
