#include "ui/modSharedGUI.h"

#include <charconv>
#include <cmath>

#include "production/modWatermark.h"
#include "services/modConvert.h"
#include "services/modLocalize.h"
#include "services/modMacros.h"
#include "services/modText.h"
#include "startup/modConfig.h"

namespace gui {

namespace {

constexpr std::size_t kMacroNameWidth = 13;

ListItems Localized(std::initializer_list<const char*> captions, int selected) {
  ListItems items;
  for (const char* caption : captions)
    items.captions.push_back(Localize(caption));
  items.selected = selected;
  return items;
}

std::string DecimalText(double value) {
  if (value == 0) return "0";  // no "-0"
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

DictionaryPtr QualityList() {
  DictionaryPtr list = NewDictionary();
  list->Add("default", Localize("[L110]Default"));
  list->Add("screen", Localize("[L111]Screen"));
  list->Add("ebook", Localize("[L112]Ebook"));
  list->Add("printer", Localize("[L113]Printer"));
  list->Add("prepress", Localize("[L114]Prepress"));
  return list;
}

ListItems FillQualityList() {
  ListItems items;
  DictionaryPtr qualities = QualityList();
  for (const Dictionary::Entry& entry : *qualities)
    items.captions.push_back(ToStringSafe(entry.second));
  items.selected = 0;
  return items;
}

ListItems FillKeyLengthList() {
  return Localized({"40", "128"}, 0);
}

ListItems FillPrintPermissionList() {
  return Localized({"[L115]not allowed", "[L116]low quality", "[L117]high quality"}, 0);
}

ListItems FillRotationList() {
  return Localized({"[L118]Lower left corner to Upper right corner",
                    "[L119]Upper left corner to Lower right corner"},
                   -1);
}

ListItems FillAppendPositionList() {
  return Localized({"[L120]Bottom", "[L121]Top"}, 0);
}

std::vector<FileFilter> PdfFilter() {
  return {{Localize("[L76]PDF Documents") + " (*.pdf)", "*.pdf"},
          {Localize("[L77]All Files"), "*.*"}};
}

std::string NumericText(const std::string& text) {
  return DecimalText(LeadingNumber(text));
}

std::string NormalizeWatermarkSize(const std::string& text) {
  std::string box = TrimSpaces(text);
  if (box.empty()) return box;
  double whole = std::floor(LeadingNumber(box));
  if (whole < 0 || whole > 100) return {};
  return box == DecimalText(whole) ? box : std::string();
}

std::string NormalizeWatermarkTransparency(const std::string& text) {
  std::string box = TrimSpaces(text);
  if (box.empty()) return box;
  double whole = std::floor(LeadingNumber(box));
  if (whole > 100) return "100";
  if (whole < 0) return "0";
  return box == DecimalText(whole) ? box : std::string();
}

std::uint32_t TransparencyPreviewColor(const std::string& text) {
  std::string value = text.empty() ? DefaultSettings()->Text("watermarktransparency") : text;
  std::int32_t percent = ToLongSafe(LeadingNumber(value));
  percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
  auto grey = static_cast<std::uint32_t>(std::nearbyint(255.0 / 100.0 * percent));
  return grey << 16 | grey << 8 | grey;
}

std::vector<std::string> MacroListEntries() {
  std::vector<std::string> entries;
  DictionaryPtr macros = GetMacroList();
  for (const Dictionary::Entry& macro : *macros) {
    std::size_t pad =
        macro.first.size() < kMacroNameWidth ? kMacroNameWidth - macro.first.size() : 0;
    entries.push_back("<" + macro.first + "> " + std::string(pad, ' ') + "\t" +
                      ToStringSafe(macro.second));
  }
  return entries;
}

std::string MacroAt(int index) {
  std::vector<std::string> names = GetMacroList()->Keys();
  if (index < 0 || static_cast<std::size_t>(index) >= names.size()) return {};
  return "<" + names[index] + ">";
}

}  // namespace gui
