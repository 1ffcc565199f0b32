#pragma once

#include <initializer_list>
#include <string>

namespace gui {

// Letter case of ASCII letters; other bytes stay as they are.
std::string LowerCase(std::string text);
std::string UpperCase(std::string text);
// Removes leading and trailing spaces (not tabs), as the runtime's Trim does.
std::string TrimSpaces(const std::string& text);
// Replaces every occurrence, left to right; replacements are not searched again.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);

struct Escape {
  char letter;
  const char* text;
};
// Decodes backslash escapes: a listed letter after a backslash gives its text, any other
// character stands for itself, and a backslash at the very end is dropped.
std::string Unescape(const std::string& text, std::initializer_list<Escape> escapes);

}  // namespace gui
