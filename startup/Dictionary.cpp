#include "startup/Dictionary.h"

#include <any>

#include "services/Error.h"
#include "services/modObjects.h"

namespace gui {

void Dictionary::Add(const std::string& key, DictionaryValue value) {
  if (Exists(key)) throw RuntimeError(err::kDuplicateKey);
  index_.emplace(key, entries_.size());
  entries_.emplace_back(key, std::move(value));
}

DictionaryValue& Dictionary::Item(const std::string& key) {
  auto found = index_.find(key);
  if (found != index_.end()) return entries_[found->second].second;
  Add(key, std::string());
  return entries_.back().second;
}

std::string Dictionary::Text(const std::string& key) {
  const auto* text = std::get_if<std::string>(&Item(key));
  return text ? *text : std::string();
}

void Dictionary::Set(const std::string& key, DictionaryValue value) {
  Item(key) = std::move(value);
}

bool Dictionary::Exists(const std::string& key) const {
  return index_.count(key) != 0;
}

void Dictionary::Remove(const std::string& key) {
  auto found = index_.find(key);
  if (found == index_.end()) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(found->second));
  index_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i)
    index_.emplace(entries_[i].first, i);
}

std::vector<std::string> Dictionary::Keys() const {
  std::vector<std::string> keys;
  keys.reserve(entries_.size());
  for (const auto& entry : entries_)
    keys.push_back(entry.first);
  return keys;
}

DictionaryPtr NewDictionary() {
  return std::any_cast<DictionaryPtr>(CreateObjectChecked("Scripting.Dictionary"));
}

DictionaryPtr AsDictionary(const DictionaryValue& value) {
  const auto* map = std::get_if<DictionaryPtr>(&value);
  return map ? *map : nullptr;
}

}  // namespace gui
