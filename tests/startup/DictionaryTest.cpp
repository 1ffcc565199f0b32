#include "startup/Dictionary.h"

#include <gtest/gtest.h>

#include "services/Error.h"
#include "services/modObjects.h"

namespace gui {
namespace {

TEST(Dictionary, KeepsInsertionOrderAndPlaceOnReassignment) {
  DictionaryPtr map = NewDictionary();
  map->Add("b", std::string("1"));
  map->Add("a", std::string("2"));
  map->Set("c", std::string("3"));
  map->Set("b", std::string("changed"));
  EXPECT_EQ(map->Keys(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(map->Text("b"), "changed");
}

TEST(Dictionary, KeysCompareExactly) {
  DictionaryPtr map = NewDictionary();
  map->Add("Key", std::string("upper"));
  map->Add("key", std::string("lower"));
  EXPECT_EQ(map->Count(), 2u);
  EXPECT_FALSE(map->Exists("KEY"));
}

TEST(Dictionary, AddOfPresentKeyFailsWithDuplicateKeyError) {
  DictionaryPtr map = NewDictionary();
  map->Add("ps", std::string("a"));
  try {
    map->Add("ps", std::string("b"));
    FAIL() << "Add of a present key must fail";
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 457);
    EXPECT_EQ(failure.Description(),
              "This key is already associated with an element of this collection");
  }
  EXPECT_EQ(map->Text("ps"), "a");
}

TEST(Dictionary, ReadingMissingKeyAddsItEmpty) {
  DictionaryPtr map = NewDictionary();
  map->Add("first", std::string("x"));
  EXPECT_EQ(map->Text("missing"), "");
  EXPECT_TRUE(map->Exists("missing"));
  EXPECT_EQ(map->Keys().back(), "missing");
}

TEST(Dictionary, RemoveKeepsOrderOfTheRest) {
  DictionaryPtr map = NewDictionary();
  for (const char* key : {"a", "b", "c"})
    map->Add(key, std::string(key));
  map->Remove("b");
  map->Add("b", std::string("again"));
  EXPECT_EQ(map->Keys(), (std::vector<std::string>{"a", "c", "b"}));
  EXPECT_EQ(map->Text("c"), "c");
}

TEST(Dictionary, NestedMapsAreSharedNotCopied) {
  DictionaryPtr outer = NewDictionary();
  DictionaryPtr inner = NewDictionary();
  outer->Add("section", inner);
  inner->Set("name", std::string("value"));
  EXPECT_EQ(AsDictionary(outer->Item("section"))->Text("name"), "value");
  EXPECT_EQ(outer->Text("section"), "");
}

TEST(CreateObjectChecked, UnknownComponentRaises429WithItsName) {
  try {
    CreateObjectChecked("No.Such.Component");
    FAIL();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 429);
    EXPECT_EQ(failure.Description(), "Error creating object: No.Such.Component");
  }
}

TEST(CreateObjectChecked, FailingComponentNamesNumberInDecimalAndHex) {
  RegisterComponent("Test.Failing", []() -> std::any { throw Error(70, "Permission denied"); });
  try {
    CreateObjectChecked("Test.Failing");
    FAIL();
  } catch (const Error& failure) {
    EXPECT_EQ(failure.Number(), 70);
    EXPECT_EQ(failure.Description(),
              "Error creating object: Test.Failing. Error 70 (0x46): Permission denied");
  }
}

}  // namespace
}  // namespace gui
