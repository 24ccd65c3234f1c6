// skin: draws and checks skin descriptions, for skin authors.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "applet/skin/skin_dib.h"
#include "platform/png_writer.h"
#include "tools/skin/host_skin_folder.h"
#include "tools/skin/skin_check.h"
#include "tools/skin/skin_render.h"

namespace {

int Render(const std::filesystem::path& description, const std::filesystem::path& output,
           const std::vector<std::string>& press, const std::vector<std::string>& disable, bool display) {
  skin_tool::HostSkinFolder folder;
  std::string why;
  if (!folder.Open(description, &why)) {
    std::cerr << "skin: " << why << "\n";
    return 2;
  }
  skin_tool::RenderOptions options;
  for (const auto& name : press) options.press.push_back(platform::FromUtf8(name));
  for (const auto& name : disable) options.disable.push_back(platform::FromUtf8(name));
  options.display = display;
  applet::SkinDib picture;
  if (!skin_tool::RenderSkin(folder.Folder(), folder.FileName(), options, picture, &why)) {
    std::cerr << "skin: " << description.string() << ": " << why << "\n";
    return 1;
  }
  if (!platform::WritePng(*picture.Bitmap(), output, platform::PngAlpha::Opaque, &why)) {
    std::cerr << "skin: " << output.string() << ": " << why << "\n";
    return 2;
  }
  return 0;
}

int Check(const std::filesystem::path& description) {
  skin_tool::HostSkinFolder folder;
  std::string why;
  if (!folder.Open(description, &why)) {
    std::cerr << "skin: " << why << "\n";
    return 2;
  }
  std::vector<skin_tool::Finding> findings;
  if (!skin_tool::CheckSkin(folder.Folder(), folder.FileName(), findings, &why)) {
    std::cerr << "skin: " << why << "\n";
    return 2;
  }
  for (const auto& finding : findings) std::cout << skin_tool::FormatFinding(description.string(), finding) << "\n";
  return findings.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "skin: draws and checks the skin descriptions of the applet's windows.\n"
      "A description is read with the pictures of its folder, as a window reads it."};
  app.require_subcommand(1);

  std::filesystem::path description, output;
  std::vector<std::string> press, disable;
  bool display = false;
  int result = 0;

  CLI::App* render = app.add_subcommand(
      "render", "Draw a description's window picture and write it as PNG (exit 1: it cannot be drawn).");
  render->add_option("DESCRIPTION", description, "the skin description (an .inf file)")->required();
  render->add_option("OUT", output, "the PNG file to write")->required();
  render->add_option("--press", press, "hold this section's element down (repeatable)");
  render->add_option("--disable", disable, "disable this section's element (repeatable)");
  render->add_flag("--display", display, "write the copy the screen shows (16 levels per channel, error-diffused)");
  render->callback([&] { result = Render(description, output, press, disable, display); });

  CLI::App* check = app.add_subcommand(
      "check",
      "List, with line numbers, what the engine ignores in a description: unknown types and keys, unusable "
      "values, fonts named before they are declared, state pictures outside their picture file, picture files "
      "that do not load (exit 1 when anything is listed).");
  check->add_option("DESCRIPTION", description, "the skin description (an .inf file)")->required();
  check->callback([&] { result = Check(description); });

  CLI11_PARSE(app, argc, argv);
  return result;
}
