#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace gui {

class Dictionary;
using DictionaryPtr = std::shared_ptr<Dictionary>;

// A value of a map: a text, or another map held by reference (INI sections).
using DictionaryValue = std::variant<std::string, DictionaryPtr>;

// The program's map: exact keys, insertion order, a failing Add of a present key, and a read
// of a missing key that adds it with the empty value.
class Dictionary {
 public:
  using Entry = std::pair<std::string, DictionaryValue>;

  // Adds a new key; a present key raises error 457.
  void Add(const std::string& key, DictionaryValue value);
  // Reads an item; a missing key is added with the empty value.
  DictionaryValue& Item(const std::string& key);
  // The item as text ("" for a map); a missing key is added as Item does.
  std::string Text(const std::string& key);
  // Adds or replaces; a present key keeps its place.
  void Set(const std::string& key, DictionaryValue value);
  bool Exists(const std::string& key) const;
  void Remove(const std::string& key);
  std::size_t Count() const { return entries_.size(); }
  std::vector<std::string> Keys() const;

  std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<Entry>::const_iterator end() const { return entries_.end(); }

 private:
  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::size_t> index_;
};

// A new empty map, created as the program's dictionary component.
DictionaryPtr NewDictionary();

// The map held by a value, or null when the value is a text.
DictionaryPtr AsDictionary(const DictionaryValue& value);

}  // namespace gui
