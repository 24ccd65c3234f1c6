// Keys and values in memory: lookups without regard to letter case through
// the value index and the sorted subkeys, and the enumeration order that
// setting, replacing and removing values must keep.

#include "base/registry_tree.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

std::vector<WString> Names(const RegistryNode& node) {
  std::vector<WString> names;
  for (const auto& v : node.Values()) names.push_back(v.name);
  return names;
}

TEST(RegistryNode, ValuesKeepTheirPlaceAndTheIndexFollowsRemovals) {
  RegistryNode key(u"Settings");
  for (const char16_t* name : {u"Alpha", u"beta", u"Gamma", u"delta", u"Stra\u00dfe"})
    key.SetValue(RegistryValue::String(name, name));
  key.SetValue(RegistryValue::Dword(u"BETA", 2));  // replaces, keeps place and stored name
  EXPECT_EQ(Names(key), (std::vector<WString>{u"Alpha", u"beta", u"Gamma", u"delta", u"Stra\u00dfe"}));
  EXPECT_EQ(key.FindValue(u"Beta")->AsDword(), 2u);

  EXPECT_TRUE(key.RemoveValue(u"ALPHA"));
  EXPECT_TRUE(key.RemoveValue(u"gamma"));
  EXPECT_FALSE(key.RemoveValue(u"gamma"));
  EXPECT_EQ(Names(key), (std::vector<WString>{u"beta", u"delta", u"Stra\u00dfe"}));
  // Every value is still found where it now is, and a new one goes last.
  struct Lookup {
    const char16_t* name;
    const char16_t* stored;  // null: absent
  } lookups[] = {
      {u"BETA", u"beta"}, {u"Delta", u"delta"}, {u"STRASSE", u"Stra\u00dfe"},
      {u"alpha", nullptr}, {u"Gamma", nullptr}, {u"", nullptr},
  };
  for (const Lookup& l : lookups) {
    const RegistryValue* v = key.FindValue(l.name);
    if (l.stored == nullptr) {
      EXPECT_EQ(v, nullptr);
    } else {
      ASSERT_NE(v, nullptr);
      EXPECT_EQ(v->name, l.stored);
    }
  }
  key.SetValue(RegistryValue::String(u"alpha", u"again"));
  EXPECT_EQ(Names(key), (std::vector<WString>{u"beta", u"delta", u"Stra\u00dfe", u"alpha"}));
  EXPECT_EQ(key.FindValue(u"ALPHA")->AsString(), u"again");

  // A copy has an index of its own.
  auto copy = key.Clone();
  EXPECT_TRUE(copy->RemoveValue(u"beta"));
  EXPECT_NE(key.FindValue(u"beta"), nullptr);
  EXPECT_EQ(copy->FindValue(u"alpha")->AsString(), u"again");
}

TEST(RegistryNode, ManyValuesInOneKey) {
  RegistryNode key(u"Big");
  constexpr uint32_t kValues = 10000;
  for (uint32_t i = 0; i < kValues; ++i) key.SetValue(RegistryValue::Dword(u"Value" + FormatInt(i), i));
  for (uint32_t i = 0; i < kValues; i += 997) {
    ASSERT_EQ(key.FindValue(u"VALUE" + FormatInt(i))->AsDword(), i);
  }
  EXPECT_TRUE(key.RemoveValue(u"value0"));
  EXPECT_EQ(key.Values().front().name, u"Value1");
  EXPECT_EQ(key.FindValue(u"Value9999")->AsDword(), 9999u);
}

TEST(RegistryNode, SubkeysAreSortedAndFoundWithoutRegardToCase) {
  RegistryNode root(u"HKEY_LOCAL_MACHINE");
  for (const char16_t* name : {u"WAP GPRS", u"gprs", u"CSD", u"b", u"A"}) root.AddChild(name);
  bool created = true;
  RegistryNode& again = root.AddChild(u"GPRS", &created);
  EXPECT_FALSE(created);
  EXPECT_EQ(again.Name(), u"gprs");
  std::vector<WString> names;
  for (const auto& c : root.Children()) names.push_back(c->Name());
  EXPECT_EQ(names, (std::vector<WString>{u"A", u"b", u"CSD", u"gprs", u"WAP GPRS"}));
  EXPECT_NE(root.FindChild(u"wap gprs"), nullptr);
  EXPECT_EQ(root.FindChild(u"WAP"), nullptr);
  EXPECT_TRUE(root.RemoveChild(u"csd"));
  EXPECT_FALSE(root.RemoveChild(u"csd"));
  EXPECT_EQ(root.FindChild(u"CSD"), nullptr);
  EXPECT_NE(root.FindChild(u"B"), nullptr);
}

}  // namespace
}  // namespace platform
