#pragma once
// A GPRS quality-of-service profile: five classes, 0 meaning "not
// specified". The mean-throughput class is stored as 31 for best effort
// (the value of the GPRS profile) and handed to the editing pages as 19.

#include <cstdint>

#include "base/text.h"
#include "platform/framework/object.h"

namespace applet {

class CQualityOfService : public framework::CObject {
  VELM_DECLARE_SERIAL(CQualityOfService)

 public:
  // The stored best-effort mean class and the value the pages show for it.
  static constexpr int32_t kStoredBestEffortMean = 31;
  static constexpr int32_t kShownBestEffortMean = 19;

  CQualityOfService() = default;
  CQualityOfService(const CQualityOfService& other);
  CQualityOfService& operator=(const CQualityOfService& other);

  void Clear();
  // Reads "precedence,delay,reliability,peak,mean" (the order of the
  // modem command placeholders), each converted as the platform's decimal
  // text-to-long does. A text without exactly four commas clears the
  // profile and gives false.
  bool FromText(platform::WStringView text);
  // True when any class is specified.
  bool IsSet() const;
  void GetClasses(int32_t& outPrecedence, int32_t& outReliability, int32_t& outPeak,
                  int32_t& outMean, int32_t& outDelay) const;
  void SetClasses(int32_t newPrecedence, int32_t newReliability, int32_t newPeak,
                  int32_t newMean, int32_t newDelay);

  bool operator==(const CQualityOfService& other) const;

  // precedence, reliability, delay, peakClass, meanClass as 32-bit integers.
  void Serialize(framework::CArchive& ar) override;

  int32_t precedence = 0;
  int32_t reliability = 0;
  int32_t delay = 0;
  int32_t peakClass = 0;
  int32_t meanClass = 0;
};

}  // namespace applet
