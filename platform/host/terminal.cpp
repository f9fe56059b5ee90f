// Message boxes drawn on a terminal, in UTF-8, for terminal runs.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cp1250.h"
#include "host_internal.h"
#include "os.h"

namespace {

using Line = std::u32string;

constexpr std::size_t MinWidth = 24;
constexpr std::size_t MaxWidth = 66;

std::string Utf8(const Line& line) {
  std::string bytes;
  for (char32_t c : line) AppendUtf8(bytes, c);
  return bytes;
}

Line Decode(const std::string& bytes) {
  Line line;
  for (unsigned char b : bytes) line += Cp1250Character(b);
  return line;
}

// The paragraphs of a text (CR LF, CR or LF end one), each as it stands.
std::vector<Line> Paragraphs(const Line& text) {
  std::vector<Line> paragraphs(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == U'\r' || text[i] == U'\n') {
      if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
      paragraphs.emplace_back();
    } else {
      paragraphs.back() += text[i] == U'\t' ? U' ' : text[i];
    }
  }
  return paragraphs;
}

// A paragraph broken at blanks into lines of at most `width` characters (a
// word longer than that is cut).  No-break spaces do not break.
std::vector<Line> Wrap(const Line& paragraph, std::size_t width) {
  std::vector<Line> lines;
  Line current;
  std::size_t i = 0;
  while (i <= paragraph.size()) {
    std::size_t end = paragraph.find(U' ', i);
    if (end == Line::npos) end = paragraph.size();
    Line word = paragraph.substr(i, end - i);
    while (word.size() > width) {
      if (!current.empty()) lines.push_back(current), current.clear();
      lines.push_back(word.substr(0, width));
      word.erase(0, width);
    }
    if (!current.empty() && current.size() + 1 + word.size() > width)
      lines.push_back(current), current.clear();
    if (!current.empty()) current += U' ';
    current += word;
    i = end + 1;
  }
  lines.push_back(current);
  return lines;
}

Line Repeat(char32_t c, std::size_t n) { return Line(n, c); }

}  // namespace

namespace host {

int ShowOnTerminal(const std::string& text, const std::string& caption, unsigned type,
                   int defaultAnswer) {
  const bool yesNo = (type & 0x0F) == os::MbYesNo;
  const Line buttons = yesNo ? U"[ Ano ]  [ Ne ]" : U"[ OK ]";
  Line icon;
  switch (type & 0xF0) {
    case os::MbIconError: icon = U"(X)  "; break;
    case os::MbIconQuestion: icon = U"(?)  "; break;
    case os::MbIconWarning: icon = U"(!)  "; break;
    default: break;
  }
  const Line title = Decode(caption);
  const std::vector<Line> paragraphs = Paragraphs(Decode(text));
  std::size_t width = std::max(MinWidth, buttons.size());
  for (const Line& p : paragraphs) width = std::max(width, p.size() + icon.size());
  width = std::min(width, MaxWidth);
  width = std::max(width, title.size() + 2);

  std::vector<Line> body;
  for (const Line& p : paragraphs)
    for (const Line& line : Wrap(p, width - icon.size()))
      body.push_back((body.empty() ? icon : Repeat(U' ', icon.size())) + line);

  std::string out;
  out += Utf8(U"┌─ " + title + U" " + Repeat(U'─', width - title.size()) + U"┐") + "\n";
  out += Utf8(U"│ " + Repeat(U' ', width + 2) + U"│") + "\n";
  for (const Line& line : body)
    out += Utf8(U"│  " + line + Repeat(U' ', width - line.size()) + U" │") + "\n";
  out += Utf8(U"│ " + Repeat(U' ', width + 2) + U"│") + "\n";
  const std::size_t left = (width + 2 - buttons.size()) / 2;
  out += Utf8(U"│ " + Repeat(U' ', left) + buttons + Repeat(U' ', width + 2 - left - buttons.size()) +
              U"│") + "\n";
  out += Utf8(U"└" + Repeat(U'─', width + 3) + U"┘") + "\n";
  std::cout << out << std::flush;

  if (!isatty(STDIN_FILENO)) {
    std::cout << (defaultAnswer == os::IdNo ? "  -> Ne" : defaultAnswer == os::IdYes ? "  -> Ano" : "")
              << (yesNo ? "\n" : "") << std::flush;
    return defaultAnswer;
  }
  std::string answer;
  if (!yesNo) {
    std::cout << "  Enter = OK " << std::flush;
    std::getline(std::cin, answer);
    return os::IdOk;
  }
  for (;;) {
    std::cout << "  Ano / Ne [a/y/n]: " << std::flush;
    if (!std::getline(std::cin, answer)) return defaultAnswer;
    if (answer == "a" || answer == "A" || answer == "y" || answer == "Y") return os::IdYes;
    if (answer == "n" || answer == "N") return os::IdNo;
  }
}

std::intptr_t OpenOnTerminal(const std::string& address) {
  std::cout << "  (otevírám " << address << ")\n" << std::flush;
  const pid_t child = fork();
  if (child == 0) {
    execlp("xdg-open", "xdg-open", address.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) < 0) return 31;
  // 31 is what Windows answers when nothing is associated with the address
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 42 : 31;
}

}  // namespace host
