#include "platform/registry_text.h"

#include <gtest/gtest.h>

#include "platform/registry.h"

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
      "\"x\" = dword:A\r\n"
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

TEST(RegistryText, ErrorsNameTheirLine) {
  const std::string header = std::string(kRegistryHeader) + "\n\n";
  struct Case {
    std::string text;
    size_t line;
  } cases[] = {
      {"", 1},
      {"REGEDIT5\n", 1},
      {header + "\"x\"=\"1\"\n", 3},                              // value before any key
      {header + "[HKEY_USERS\\X]\n", 3},                          // unknown hive
      {header + "[HKEY_CURRENT_USER\\X\n", 3},                    // no ']'
      {header + "[HKCU\\X]\n\"x\"=dword:123456789\n", 4},         // 9 digits
      {header + "[HKCU\\X]\n\"x\"=\"unterminated\n", 4},
      {header + "[HKCU\\X]\n\"x\"=\"a\\q\"\n", 4},                // unknown escape
      {header + "[HKCU\\X]\n\"x\"=hex:01,zz\n", 4},
      {header + "[HKCU\\X]\n\"x\"=hex:01,\\\n", 4},               // continuation at end of file
      {header + "[HKCU\\X]\n\"x\"=str:1\n", 4},
      {header + "[HKCU\\X]\nx=1\n", 4},
  };
  for (const auto& c : cases) {
    RegistryTree tree;
    RegistryParseError err;
    EXPECT_FALSE(ParseRegistryText(c.text, tree, &err)) << c.text;
    EXPECT_EQ(err.line, c.line) << c.text << " -> " << err.message;
    EXPECT_FALSE(err.message.empty());
  }
}

}  // namespace
}  // namespace platform
