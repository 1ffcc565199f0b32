#include "production/PdfXmp.h"

#include <charconv>
#include <cstdint>

#include "script/Utf8.h"

namespace gui {

namespace {

constexpr std::size_t kLongestReference = 12;  // "&#x10FFFF;" and the named ones fit

struct Element {
  std::string_view attributes;
  std::string_view content;
  std::size_t end = std::string_view::npos;  // after the element; npos when there is none
};

bool EndsName(char c) {
  return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The next element `name` at or after from, with its attributes and content.
Element NextElement(std::string_view xml, std::string_view name, std::size_t from) {
  Element element;
  std::string open = "<" + std::string(name);
  std::size_t start = xml.find(open, from);
  while (start != std::string_view::npos &&
         (start + open.size() >= xml.size() || !EndsName(xml[start + open.size()])))
    start = xml.find(open, start + 1);
  if (start == std::string_view::npos) return element;
  std::size_t tagEnd = xml.find('>', start);
  if (tagEnd == std::string_view::npos) return element;
  element.attributes = xml.substr(start + open.size(), tagEnd - start - open.size());
  if (xml[tagEnd - 1] == '/') {  // an empty element
    element.end = tagEnd + 1;
    return element;
  }
  std::string close = "</" + std::string(name) + ">";
  std::size_t closing = xml.find(close, tagEnd);
  if (closing == std::string_view::npos) return element;
  element.content = xml.substr(tagEnd + 1, closing - tagEnd - 1);
  element.end = closing + close.size();
  return element;
}

bool IsDefaultLanguage(std::string_view attributes) {
  return attributes.find("xml:lang=\"x-default\"") != std::string_view::npos ||
         attributes.find("xml:lang='x-default'") != std::string_view::npos;
}

std::uint32_t CodeOf(std::string_view reference) {
  bool hex = reference.size() > 1 && (reference[1] == 'x' || reference[1] == 'X');
  std::string_view digits = reference.substr(hex ? 2 : 1);
  std::uint32_t code = 0;
  auto result = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
  bool valid = result.ec == std::errc() && result.ptr == digits.data() + digits.size() &&
               code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
  return valid ? code : 0xFFFD;
}

// The text of the reference between "&" and ";"; empty when it is not one XML knows.
std::string Referenced(std::string_view name) {
  if (name == "amp") return "&";
  if (name == "lt") return "<";
  if (name == "gt") return ">";
  if (name == "quot") return "\"";
  if (name == "apos") return "'";
  std::string text;
  if (name.size() > 1 && name[0] == '#') script::utf8::Append(text, CodeOf(name));
  return text;
}

// XML text with its character and entity references replaced.
std::string DecodeXmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    std::size_t semicolon =
        text[at] == '&' ? text.substr(at, kLongestReference).find(';') : std::string_view::npos;
    std::string replaced = semicolon == std::string_view::npos
                               ? std::string()
                               : Referenced(text.substr(at + 1, semicolon - 1));
    if (replaced.empty()) {
      out += text[at];
    } else {
      out += replaced;
      at += semicolon;
    }
  }
  return out;
}

// The x-default item of a property's list, else its first; a property without a list is its
// own text.
std::string PropertyText(std::string_view xml, std::string_view property) {
  Element outer = NextElement(xml, property, 0);
  if (outer.end == std::string_view::npos) return {};
  std::string_view first;
  bool any = false;
  for (Element item = NextElement(outer.content, "rdf:li", 0); item.end != std::string_view::npos;
       item = NextElement(outer.content, "rdf:li", item.end)) {
    if (IsDefaultLanguage(item.attributes)) return DecodeXmlText(item.content);
    if (!any) first = item.content;
    any = true;
  }
  if (!any && outer.content.find('<') == std::string_view::npos) first = outer.content;
  return DecodeXmlText(first);
}

}  // namespace

XmpFacts ReadXmp(std::string_view xml) {
  return {PropertyText(xml, "dc:title"), PropertyText(xml, "dc:creator")};
}

}  // namespace gui
