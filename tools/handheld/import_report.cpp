#include "tools/handheld/import_report.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace handheld {

namespace {

size_t Count(const ImportResult& result, NoteKind kind) {
  size_t n = 0;
  for (const ImportNote& note : result.notes) n += note.kind == kind ? 1 : 0;
  return n;
}

// The providers that have notes of a kind.
size_t ProvidersWith(const ImportResult& result, NoteKind kind) {
  std::set<size_t> lines;
  for (const ImportNote& note : result.notes)
    if (note.kind == kind) lines.insert(note.line);
  return lines.size();
}

std::string Joined(const ImportResult& result, NoteKind kind, bool withProvider) {
  std::string text;
  for (const ImportNote& note : result.notes) {
    if (note.kind != kind) continue;
    if (!text.empty()) text += "; ";
    text += withProvider ? note.provider + " (" + note.region + ") as " + note.message : note.message;
  }
  return text;
}

void Row(std::ostream& out, const char* label, const std::string& text) {
  constexpr size_t kLabelWidth = 18;
  std::string padded = label;
  padded.resize(std::max(kLabelWidth, padded.size() + 1), ' ');
  out << "  " << padded << text << "\n";
}

}  // namespace

void PrintImportReport(std::ostream& out, const ImportResult& result, const ImportReportContext& context) {
  const std::string file = std::filesystem::path(context.source).filename().string();
  for (const ImportNote& note : result.notes) {
    switch (note.kind) {
      case NoteKind::Skipped:
      case NoteKind::Renamed:
      case NoteKind::Warning:
        out << file << ":" << note.line << ": " << note.provider << " (" << note.region << "): " << note.message
            << "\n";
        break;
      case NoteKind::Transliterated:
        out << file << ":" << note.line << ": " << note.provider << " (" << note.region
            << "): the name is written in Latin letters as " << note.message
            << "; the original is kept in a comment\n";
        break;
      default:
        break;
    }
  }

  size_t gsm = 0;
  for (const WrittenSection& s : result.sections) gsm += s.gsm ? 1 : 0;
  size_t countryless = 0;
  for (const WrittenSection& s : result.sections) countryless += s.countryCode < 0 ? 1 : 0;
  std::map<std::string, size_t> skipReasons;
  for (const ImportNote& note : result.notes)
    if (note.kind == NoteKind::Skipped) ++skipReasons[note.message];

  out << "\nimported " << context.source << " into " << context.target << " (code page " << context.codePage
      << "):\n";
  Row(out, "written", std::to_string(result.sections.size()) + " sections (" + std::to_string(gsm) +
                          " with GPRS, " + std::to_string(result.sections.size() - gsm) + " with CDMA only) of " +
                          std::to_string(context.providers) + " providers in " + std::to_string(context.countries) +
                          " countries");
  std::string skipped = std::to_string(Count(result, NoteKind::Skipped));
  for (const auto& [reason, n] : skipReasons) skipped += "; " + std::to_string(n) + " as " + reason;
  Row(out, "skipped", skipped);
  Row(out, "renamed", std::to_string(Count(result, NoteKind::Renamed)) +
                          " (another section has the name, or the operator dialog would hide it)");
  const size_t transliterated = Count(result, NoteKind::Transliterated);
  Row(out, "transliterated", std::to_string(transliterated) +
                                 (transliterated == 0 ? std::string()
                                                      : ": " + Joined(result, NoteKind::Transliterated, true) +
                                                            " (the originals are kept in comments)"));
  Row(out, "warnings", std::to_string(Count(result, NoteKind::Warning)) + " values left out or changed (above)");
  Row(out, "six-digit codes",
      std::to_string(Count(result, NoteKind::SixDigitCode)) + " network codes of " +
          std::to_string(ProvidersWith(result, NoteKind::SixDigitCode)) +
          " operators, which no SIM card finds: the applet compares the first five digits of a SIM's "
          "identity (kept in comments)");
  Row(out, "codes listed before",
      std::to_string(Count(result, NoteKind::ClaimedCode)) + " network codes of " +
          std::to_string(ProvidersWith(result, NoteKind::ClaimedCode)) +
          " operators that an earlier section lists, whose SIM cards find that section (kept in comments)");
  const size_t noCountry = Count(result, NoteKind::NoCountry);
  if (noCountry > 0)
    Row(out, "no country", std::to_string(noCountry) + " countries lack a row in the applet's country table; their " +
                               std::to_string(countryless) + " operators are listed under \"" + context.noCountry +
                               "\" (the countries are in comments)");
  if (Count(result, NoteKind::CountryCode) > 0)
    Row(out, "other codes", Joined(result, NoteKind::CountryCode, false));
  Row(out, "SMS centres",
      context.smsCentres.empty()
          ? std::string("the provider list has none, and the device has no OPE.inf")
          : "the provider list has none; the applet keeps those of " + context.smsCentres);
}

}  // namespace handheld
