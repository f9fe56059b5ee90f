// Windows-1250, the code page of every text of the programs, and UTF-8.
#pragma once

#include <string>

// Each byte as its Unicode character in UTF-8; the five bytes the code page
// leaves undefined become U+FFFD.
std::string Cp1250ToUtf8(const std::string& bytes);

// UTF-8 text as Windows-1250 bytes; a character the code page lacks becomes "?".
std::string Utf8ToCp1250(const std::string& text);

// Appends a Unicode character in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// The Unicode character of one Windows-1250 byte.
char32_t Cp1250Character(unsigned char byte);
