#include "base/registry_text.h"

#include <gtest/gtest.h>


namespace platform {
namespace {

RegistryValue Value(const char16_t* name, uint32_t type, std::vector<uint8_t> data) {
  return RegistryValue{name, type, std::move(data)};
}

RegistryTree SampleTree() {
  RegistryTree tree;
  RegistryNode& settings =
      tree.FindOrCreate(Hive::CurrentUser, SplitKeyPath(u"SOFTWARE\\ORLO\\GSM/GPRS Settings\\Settings"));
  settings.SetValue(Value(u"HardReset", kRegSz, EncodeRegistryString(u"N")));
  settings.SetValue(Value(u"Path \"quoted\"", kRegSz, EncodeRegistryString(u"C:\\dir\\\"x\"")));
  settings.SetValue(Value(u"Op\u00e9rateur", kRegSz, EncodeRegistryString(u"T\u00e9l\u00e9 \u20ac")));
  settings.SetValue(Value(u"", kRegSz, EncodeRegistryString(u"default")));
  RegistryNode& cp = tree.FindOrCreate(Hive::LocalMachine, SplitKeyPath(u"ControlPanel\\ORLO_VELM"));
  cp.SetValue(Value(u"Group", kRegDword, {2, 0, 0, 0}));
  cp.SetValue(Value(u"DevCfg", kRegBinary, std::vector<uint8_t>(30, 0xAB)));
  cp.SetValue(Value(u"List", kRegMultiSz, EncodeRegistryMultiString({u"a", u"b\u00e9"})));
  cp.SetValue(Value(u"NoTerminator", kRegSz, {'A', 0}));   // not clean text: kept as hex(1)
  cp.SetValue(Value(u"Newline", kRegSz, EncodeRegistryString(u"a\nb")));
  cp.SetValue(Value(u"ShortDword", kRegDword, {1, 2}));
  cp.SetValue(Value(u"Empty", kRegBinary, {}));
  return tree;
}

TEST(RegistryText, ByteExactOutput) {
  const std::string expected =
      "Windows Registry Editor Version 5.00\n"
      "\n"
      "[HKEY_LOCAL_MACHINE\\ControlPanel]\n"
      "\n"
      "[HKEY_LOCAL_MACHINE\\ControlPanel\\ORLO_VELM]\n"
      "\"Group\"=dword:00000002\n"
      "\"DevCfg\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\n"
      "  ab,ab,ab,ab,ab\n"
      "\"List\"=hex(7):61,00,00,00,62,00,e9,00,00,00,00,00\n"
      "\"NoTerminator\"=hex(1):41,00\n"
      "\"Newline\"=hex(1):61,00,0a,00,62,00,00,00\n"
      "\"ShortDword\"=hex(4):01,02\n"
      "\"Empty\"=hex:\n"
      "\n"
      "[HKEY_CURRENT_USER\\SOFTWARE]\n"
      "\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\ORLO]\n"
      "\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\ORLO\\GSM/GPRS Settings]\n"
      "\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\ORLO\\GSM/GPRS Settings\\Settings]\n"
      "\"HardReset\"=\"N\"\n"
      "\"Path \\\"quoted\\\"\"=\"C:\\\\dir\\\\\\\"x\\\"\"\n"
      "\"Op\xc3\xa9rateur\"=\"T\xc3\xa9l\xc3\xa9 \xe2\x82\xac\"\n"
      "@=\"default\"\n"
      "\n";
  EXPECT_EQ(FormatRegistryText(SampleTree()), expected);
}

TEST(RegistryText, RoundTripKeepsEveryValueExactly) {
  RegistryTree original = SampleTree();
  RegistryTree reread;
  RegistryParseError err;
  ASSERT_TRUE(ParseRegistryText(FormatRegistryText(original), reread, &err)) << err.line << err.message;
  EXPECT_TRUE(reread == original);
}

TEST(RegistryText, AcceptsRegeditVariants) {
  const std::string text =
      "\xEF\xBB\xBFREGEDIT4\r\n"
      "; a comment\r\n"
      "[HKEY_CURRENT_USER\\A\\B]\r\n"
      "\"x\" = dword:0000000A\r\n"
      "\"gone\"=\"1\"\r\n"
      "\"gone\"=-\r\n"
      "[HKCU\\A\\C]\r\n"
      "[-HKEY_CURRENT_USER\\A\\C]\r\n";
  RegistryTree tree;
  RegistryParseError err;
  ASSERT_TRUE(ParseRegistryText(text, tree, &err)) << err.line << ": " << err.message;
  const RegistryNode* b = tree.Find(Hive::CurrentUser, {u"a", u"b"});
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->Values().size(), 1u);
  EXPECT_EQ(b->Values()[0].data, (std::vector<uint8_t>{10, 0, 0, 0}));
  EXPECT_EQ(tree.Find(Hive::CurrentUser, {u"A", u"C"}), nullptr);
}

TEST(RegistryText, ErrorsNameTheirLineAndKind) {
  using S = RegistryParseStatus;
  const std::string header = std::string(kRegistryHeader) + "\n\n";
  const std::string key = header + "[HKCU\\X]\n";
  std::string tooLarge;
  for (size_t i = 0; i < kMaxValueDataSize; ++i) tooLarge += "00,";
  struct Case {
    std::string text;
    size_t line;
    RegistryParseStatus status;
  } cases[] = {
      {"", 1, S::BadHeader},
      {"REGEDIT5\n", 1, S::BadHeader},
      {header + "\"x\"=\"1\"\n", 3, S::ValueOutsideKey},
      {header + "[-HKCU\\X]\n\"x\"=\"1\"\n", 4, S::ValueOutsideKey},  // the key was deleted
      {header + "[HKEY_USERS\\X]\n", 3, S::BadKeyName},
      {header + "[]\n", 3, S::BadKeyName},
      {header + "[HKEY_CURRENT_USER\\X\n", 3, S::BadSection},  // no ']'
      {header + "[HKCU\\X] y\n", 3, S::BadSection},
      {key + "\"x\"=dword:123456789\n", 4, S::BadDword},  // 9 digits
      {key + "\"x\"=\"unterminated\n", 4, S::BadQuoted},
      {key + "\"x\"=\"a\\q\"\n", 4, S::BadQuoted},  // unknown escape
      {key + "\"x\"=\"a\" b\n", 4, S::BadQuoted},
      {key + "\"x\"=hex:01,zz\n", 4, S::BadHex},
      {key + "\"x\"=hex:01,\n", 4, S::BadHex},
      {key + "\"x\"=hex(zz):01\n", 4, S::BadHex},
      {key + "\"x\"=hex:01,\\\n", 4, S::Truncated},  // continuation at end of file
      {key + "\"x\"=str:1\n", 4, S::UnknownData},
      {key + "x=1\n", 4, S::BadValueLine},
      {key + "\"x\" 1\n", 4, S::BadValueLine},
      {key + "\"x\"=hex:" + tooLarge + "00\n", 4, S::DataTooLarge},
  };
  for (const auto& c : cases) {
    RegistryTree tree;
    RegistryParseError err;
    EXPECT_FALSE(ParseRegistryText(c.text, tree, &err)) << c.text.substr(0, 80);
    EXPECT_EQ(err.line, c.line) << c.text.substr(0, 80) << " -> " << err.message;
    EXPECT_EQ(err.status, c.status) << c.text.substr(0, 80) << " -> " << err.message;
    EXPECT_FALSE(err.message.empty());
  }
}

// A damaged file must not be read with other data than it was written with:
// the next write would make the change permanent.
TEST(RegistryText, DamagedDataIsRefusedNotGuessed) {
  using S = RegistryParseStatus;
  const std::string key = std::string(kRegistryHeader) + "\n\n[HKCU\\X]\n\"ok\"=dword:00000001\n";
  struct Case {
    const char* what;
    std::string line;
    RegistryParseStatus status;
  } cases[] = {
      {"dword cut to 7 digits", "\"x\"=dword:0000001", S::BadDword},
      {"dword cut to 1 digit", "\"x\"=dword:a", S::BadDword},
      {"dword without digits", "\"x\"=dword:", S::BadDword},
      {"hex byte cut to one digit", "\"x\"=hex:01,0", S::BadHex},
      {"hex byte of three digits", "\"x\"=hex:010", S::BadHex},
      {"one-digit byte in a typed value", "\"x\"=hex(7):41,0,00,00", S::BadHex},
      {"invalid UTF-8 in a text", "\"x\"=\"caf\xe9\"", S::InvalidUtf8},
      {"invalid UTF-8 in a name", "\"\xff\"=\"1\"", S::InvalidUtf8},
      {"invalid UTF-8 in a comment", "; \xc3", S::InvalidUtf8},
      {"an encoded surrogate", "\"x\"=\"\xed\xa0\x80\"", S::InvalidUtf8},
  };
  for (const Case& c : cases) {
    RegistryTree tree;
    RegistryParseError err;
    EXPECT_FALSE(ParseRegistryText(key + c.line + "\n", tree, &err)) << c.what;
    EXPECT_EQ(err.line, 5u) << c.what;
    EXPECT_EQ(err.status, c.status) << c.what << ": " << err.message;
  }
  // The same values in full are read as written.
  RegistryTree tree;
  RegistryParseError err;
  const std::string whole = key + "\"d\"=dword:0000000a\n\"b\"=hex:01,0a\n\"t\"=\"caf\xc3\xa9\"\n";
  ASSERT_TRUE(ParseRegistryText(whole, tree, &err)) << err.line << ": " << err.message;
  const RegistryNode* x = tree.Find(Hive::CurrentUser, {u"X"});
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->FindValue(u"d")->AsDword(), 10u);
  EXPECT_EQ(x->FindValue(u"b")->data, (std::vector<uint8_t>{1, 10}));
  EXPECT_EQ(x->FindValue(u"t")->AsString(), u"caf\u00e9");
}

}  // namespace
}  // namespace platform
