#include "applet/connections/quality_of_service.h"

#include <algorithm>

#include "platform/framework/archive.h"

namespace applet {

VELM_IMPLEMENT_SERIAL(CQualityOfService, framework::CObject, 0)

namespace {

constexpr size_t kCommas = 4;

}  // namespace

CQualityOfService::CQualityOfService(const CQualityOfService& other) : framework::CObject() {
  *this = other;
}

CQualityOfService& CQualityOfService::operator=(const CQualityOfService& other) {
  precedence = other.precedence;
  reliability = other.reliability;
  delay = other.delay;
  peakClass = other.peakClass;
  meanClass = other.meanClass;
  return *this;
}

void CQualityOfService::Clear() { precedence = reliability = delay = peakClass = meanClass = 0; }

bool CQualityOfService::FromText(platform::WStringView source) {
  if (static_cast<size_t>(std::count(source.begin(), source.end(), u',')) != kCommas) {
    Clear();
    return false;
  }
  // The first four classes are taken in the text's order, each up to its
  // comma; the mean class is the rest.
  int32_t* const leading[kCommas] = {&precedence, &delay, &reliability, &peakClass};
  platform::WStringView rest = source;
  for (int32_t* target : leading) {
    const size_t comma = rest.find(u',');
    *target = platform::TextToLong(rest.substr(0, comma));
    rest = rest.substr(comma + 1);
  }
  meanClass = platform::TextToLong(rest);
  return true;
}

bool CQualityOfService::IsSet() const {
  // A sum, in 64 bits so that classes of opposite sign cannot overflow.
  return static_cast<int64_t>(precedence) + reliability + delay + peakClass + meanClass != 0;
}

void CQualityOfService::GetClasses(int32_t& outPrecedence, int32_t& outReliability,
                                   int32_t& outPeak, int32_t& outMean, int32_t& outDelay) const {
  outPrecedence = precedence;
  outReliability = reliability;
  outPeak = peakClass;
  outMean = meanClass == kStoredBestEffortMean ? kShownBestEffortMean : meanClass;
  outDelay = delay;
}

void CQualityOfService::SetClasses(int32_t newPrecedence, int32_t newReliability,
                                   int32_t newPeak, int32_t newMean, int32_t newDelay) {
  precedence = newPrecedence;
  reliability = newReliability;
  peakClass = newPeak;
  meanClass = newMean == kShownBestEffortMean ? kStoredBestEffortMean : newMean;
  delay = newDelay;
}

bool CQualityOfService::operator==(const CQualityOfService& other) const {
  return precedence == other.precedence && reliability == other.reliability &&
         delay == other.delay && peakClass == other.peakClass && meanClass == other.meanClass;
}

void CQualityOfService::Serialize(framework::CArchive& ar) {
  if (ar.IsStoring())
    ar << precedence << reliability << delay << peakClass << meanClass;
  else
    ar >> precedence >> reliability >> delay >> peakClass >> meanClass;
}

}  // namespace applet
