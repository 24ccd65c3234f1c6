// The applet's connection record and its document "VELM.DAT".

#include "applet/shell/velm_ras_param.h"

#include <gtest/gtest.h>

#include "applet/connections/archive_version.h"
#include "applet/shell/velm_ras_param_array_doc.h"
#include "platform/framework/archive.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

constexpr char16_t kDocPath[] = u"\\Yvra File Store\\VELM.DAT";
constexpr char kDocFile[] = "Yvra File Store/VELM.DAT";

// Every added field set to something other than its reset value.
void FillAdded(CVELMRASparam& r) {
  r.operatorName = u"Orange F";
  r.homeNetworkNumber = u"20801";
  r.smsCenter = u"+33689004000";
  r.mmsEnabled = 0;
  r.mmsCenter = u"http://mms.orange.fr";
  r.mmsEntryName = u"Orange F MMS";
  r.mmsApn = u"orange.acte";
  r.mmsUserName = u"orange";
  r.mmsPassword = u"s\u00e9cret";
  r.mmsGateway.Set(192, 168, 10, 200);
  r.mmsGatewayPort = u"8080";
  r.isCustom = 1;
  r.wapEntryName = u"WAP Orange F";
  r.wapProxyName = u"WAP-{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}";
  r.wtlsProxyName = u"WTLS-{18AD9FBD-F716-ACB6-FD8A-1965DB95B814}";
  r.reservedEntryName = u"Old";
}

TEST(CVELMRASparam, ResetValues) {
  CVELMRASparam r;
  EXPECT_EQ(r.mmsEnabled, 1);
  EXPECT_EQ(r.isCustom, 0);
  for (const platform::WString* text :
       {&r.smsCenter, &r.mmsCenter, &r.mmsEntryName, &r.mmsApn, &r.mmsUserName, &r.mmsPassword,
        &r.mmsGatewayPort, &r.wapEntryName, &r.wapProxyName, &r.wtlsProxyName, &r.reservedEntryName})
    EXPECT_TRUE(text->empty());
  EXPECT_EQ(r.mmsGateway, CAdresseIP());
  EXPECT_EQ(r.pdpType, u"IP");  // the base's reset ran too

  FillAdded(r);
  r.ResetDefaults();
  EXPECT_EQ(r.mmsEnabled, 1);
  EXPECT_TRUE(r.wtlsProxyName.empty());
  EXPECT_EQ(r.reservedEntryName, u"Old");  // the reset leaves it
}

TEST(CVELMRASparam, CopyAndCompareEveryAddedField) {
  CVELMRASparam a, b;
  FillAdded(a);
  b = a;
  EXPECT_TRUE(b.IsEqual(a));
  EXPECT_EQ(b.homeNetworkNumber, u"");  // the base's copy leaves it out
  b.mmsPassword = u"other";
  EXPECT_FALSE(b.IsEqual(a));
  b = a;
  b.mmsGateway.Set(192, 168, 10, 201);
  EXPECT_FALSE(b.IsEqual(a));
  b = a;
  b.reservedEntryName = u"old";  // letter case counts
  EXPECT_FALSE(b.IsEqual(a));
}

class VelmDocument : public ::testing::Test {
 protected:
  std::string SaveOne(const CVELMRASparam& record) {
    CVELMRASparamArrayDoc doc;
    doc.Open(kDocPath);
    doc.CurrentRecord() = record;
    // The copy leaves the home network number to the record's place.
    doc.CurrentRecord().homeNetworkNumber = record.homeNetworkNumber;
    EXPECT_TRUE(doc.Save());
    return device_.ReadFile(kDocFile);
  }

  test_support::TempDevice device_;
};

TEST_F(VelmDocument, StoredAndLoadedWithVersion6) {
  CVELMRASparam original;
  FillAdded(original);
  const std::string bytes = SaveOne(original);
  // The version word, then one record named by its class.
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x06\x00\x00\x00", 4));
  EXPECT_NE(bytes.find("CVELMRASparam"), std::string::npos);

  CVELMRASparamArrayDoc loaded;
  ASSERT_TRUE(loaded.Open(kDocPath));
  EXPECT_EQ(archiveVersion, 6);
  ASSERT_EQ(loaded.Records().GetSize(), 1u);
  const CVELMRASparam& back = *loaded.Records().GetAt(0);
  EXPECT_TRUE(back.IsEqual(original));
  EXPECT_EQ(back.homeNetworkNumber, u"20801");
  EXPECT_EQ(back.mmsPassword, u"s\u00e9cret");
  EXPECT_EQ(back.reservedEntryName, u"Old");
}

// A version 5 document ends each record after isCustom.
TEST_F(VelmDocument, Version5LeavesTheApplyNamesAsTheyWere) {
  CVELMRASparam original;
  FillAdded(original);
  original.wapEntryName.clear();
  original.wapProxyName.clear();
  original.wtlsProxyName.clear();
  original.reservedEntryName.clear();
  std::string bytes = SaveOne(original);
  // Four empty Unicode texts (FF FE FF 00) end the file; a version 5
  // document has none of them.
  const std::string emptyText("\xFF\xFE\xFF\x00", 4);
  ASSERT_EQ(bytes.substr(bytes.size() - 16), emptyText + emptyText + emptyText + emptyText);
  bytes.resize(bytes.size() - 16);
  bytes[0] = 5;
  device_.WriteFile(kDocFile, bytes);

  CVELMRASparamArrayDoc loaded;
  ASSERT_TRUE(loaded.Open(kDocPath));
  EXPECT_EQ(archiveVersion, 5);
  const CVELMRASparam& back = *loaded.Records().GetAt(0);
  EXPECT_EQ(back.smsCenter, u"+33689004000");
  EXPECT_EQ(back.mmsGateway, original.mmsGateway);
  EXPECT_EQ(back.isCustom, 1);
  EXPECT_EQ(back.homeNetworkNumber, u"20801");
  EXPECT_TRUE(back.wapEntryName.empty());

  // The same file with the names present but a version 5 word: the names
  // are not read, and the bytes left over are not a record's.
  CVELMRASparam named;
  FillAdded(named);
  std::string withNames = SaveOne(named);
  withNames[0] = 5;
  device_.WriteFile(kDocFile, withNames);
  ASSERT_TRUE(loaded.Open(kDocPath));
  EXPECT_TRUE(loaded.Records().GetAt(0)->wtlsProxyName.empty());
}

TEST_F(VelmDocument, CurrentRecordIsMadeWhenThereIsNone) {
  CVELMRASparamArrayDoc doc;
  EXPECT_FALSE(doc.Open(kDocPath));  // no file
  EXPECT_EQ(doc.Records().GetSize(), 0u);
  CVELMRASparam& current = doc.CurrentRecord();
  EXPECT_EQ(doc.Records().GetSize(), 1u);
  EXPECT_EQ(&doc.CurrentRecord(), &current);
  EXPECT_EQ(current.GetRuntimeClass(), &CVELMRASparam::kClass);
}

TEST_F(VelmDocument, ARecordOfTheBaseClassIsRefused) {
  // A document whose array holds a plain CRASparam is not the applet's.
  CRASparamArrayDoc base;
  base.Open(kDocPath);
  base.Array().Add(std::make_unique<CRASparam>());
  ASSERT_TRUE(base.Save());
  CVELMRASparamArrayDoc doc;
  EXPECT_FALSE(doc.Open(kDocPath));
  EXPECT_EQ(doc.LastArchiveError(), framework::ArchiveError::WrongClass);
  EXPECT_EQ(doc.Records().GetSize(), 0u);
}

}  // namespace
}  // namespace applet
