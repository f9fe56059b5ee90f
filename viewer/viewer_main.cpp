#include "viewer_main.h"

#include <vector>

#include "command_line.h"
#include "daily_texts.h"
#include "date_prefix.h"
#include "edition.h"
#include "os.h"
#include "reminders.h"
#include "viewer_state.h"

ViewerState Viewer;

namespace {

// Texts of the viewer in Windows-1250.
const char EditionCaption[] = "Orvola " EDITION_YEAR_TEXT;
// "Neplatný parametr:  "
const char InvalidParameterText[] = "Neplatn\xFD parametr:  ";
const char WebPage[] = "http://www.orvola.cz/";
const char DownloadPage[] = "http://www.orvola.cz/#download";
// "Tato verze programu obsahuje pouze texty pro rok 2002. Podívejte se
// prosím na stránku <page> po aktuálnější verzi...\r\rMám zkusit stránku
// rovnou otevřít?"
const char OfferTextBeforePage[] =
    "Tato verze programu obsahuje pouze texty pro rok " EDITION_YEAR_TEXT
    ". Pod\xEDvejte se pros\xEDm na str\xE1nku ";
const char OfferTextAfterPage[] =
    " po aktu\xE1ln\xECj\x9A\xED verzi...\r\rM\xE1m zkusit str\xE1nku rovnou otev\xF8\xEDt?";
// "Webovou stránku programu se bohužel nepovedlo otevřít..."
const char PageFailedText[] =
    "Webovou str\xE1nku programu se bohu\x9E" "el nepovedlo otev\xF8\xEDt...";
const char TextCaptionPrefix[] = "Verdika ";
const char FirstTextSuffix[] = " SZ";
const char SecondTextSuffix[] = " NZ";

// The at most five characters after "@" that name the owner window.
constexpr std::size_t OwnerDigits = 5;

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

void ShowBox(const std::string& text, const std::string& caption, unsigned type) {
  os::MessageBoxA(Viewer.ownerWindow, text, caption, type);
}

}  // namespace

std::string NumberToText(std::int32_t number) {
  // work in 64 bits so that the most negative number has a magnitude
  std::int64_t magnitude = number;
  const bool negative = magnitude < 0;
  if (negative) magnitude = -magnitude;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  return negative ? "-" + digits : digits;
}

void GetToday(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day,
              std::uint16_t& weekday) {
  os::SystemTime now;
  os::GetLocalTime(now);
  year = now.wYear;
  month = now.wMonth;
  day = now.wDay;
  weekday = now.wDayOfWeek;
}

std::uint16_t ReadOwnerWindow(const std::string& digits) {
  std::size_t i = 0;
  while (i < digits.size() && (digits[i] == ' ' || digits[i] == '\t')) ++i;
  if (i < digits.size() && digits[i] == '+') ++i;
  int base = 10;
  if (i < digits.size() && digits[i] == '$') {
    base = 16;
    ++i;
  } else if (i < digits.size() && digits[i] == '%') {
    base = 2;
    ++i;
  }
  if (i == digits.size()) return 0;  // no digit at all
  std::uint32_t value = 0;
  for (; i < digits.size(); ++i) {
    const int digit = DigitValue(digits[i]);
    if (digit >= base) return 0;
    value = value * base + digit;
  }
  return static_cast<std::uint16_t>(value % 65536);
}

void ViewerMain() {
  Viewer = ViewerState();

  // 1. the argument text: the arguments joined by single blanks
  const std::vector<std::string> arguments = SplitArguments(os::GetCommandLineA());
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) Viewer.argumentText += ' ';
    Viewer.argumentText += arguments[i];
  }

  // 2. the owner window: named after the first "@", else the shell's desktop
  const std::size_t at = Viewer.argumentText.find('@');
  if (at != std::string::npos)
    Viewer.ownerWindow = ReadOwnerWindow(Viewer.argumentText.substr(at + 1, OwnerDigits));
  else
    Viewer.ownerWindow = static_cast<std::uint16_t>(os::FindWindowA("Progman") & 0xFFFF);

  // 3. today
  GetToday(Viewer.year, Viewer.month, Viewer.day, Viewer.todayWeekday);

  // 4. a date at the front of the arguments replaces today's
  if (!Viewer.argumentText.empty()) {
    std::string text = Viewer.argumentText;
    ParseDatePrefix(text, Viewer.day, Viewer.month, Viewer.year);
    if (Viewer.day == NoValue) {
      ShowBox(InvalidParameterText + Viewer.argumentText, EditionCaption, os::MbIconWarning);
      return;
    }
  }

  // 5. the date as the captions write it
  Viewer.dateCaption = NumberToText(Viewer.day) + "." + NumberToText(Viewer.month) + ".";
  if (!Viewer.argumentText.empty()) Viewer.dateCaption += NumberToText(Viewer.year);

  // 6. this edition's year: the day's two texts, then the reminders
  if (Viewer.year == EditionYear) {
    // a date the table has no slot for is no date at all
    if (!HasDailyTextSlot(Viewer.month, Viewer.day)) {
      ShowBox(InvalidParameterText + Viewer.argumentText, EditionCaption, os::MbIconWarning);
      return;
    }
    LookUpDailyTexts();
    ShowBox(Viewer.firstText, TextCaptionPrefix + Viewer.dateCaption + FirstTextSuffix, os::MbOk);
    ShowBox(Viewer.secondText, TextCaptionPrefix + Viewer.dateCaption + SecondTextSuffix, os::MbOk);
    ShowReminders();
    return;
  }

  // 7. another year: its own edition, if there is one
  if (LaunchEditionForYear()) return;

  // 8.-10. else offer the web page, then the reminders
  const std::string offer = OfferTextBeforePage + std::string(WebPage) + OfferTextAfterPage;
  if (os::MessageBoxA(Viewer.ownerWindow, offer, EditionCaption,
                      os::MbYesNo | os::MbIconQuestion) == os::IdYes) {
    if (os::ShellExecuteA(0, DownloadPage, os::SwShowNormal) <= 32)
      ShowBox(PageFailedText, EditionCaption, os::MbIconWarning);
  }
  ShowReminders();
}
