// The skin engine's picture loading and display reduction, each measured in
// the same run against the library people would otherwise use doing the same
// work, and the sample skin's whole load and draw. The ratios (project time
// over reference time) are printed at the end.
//
//   GIF   own decoder                  giflib: DGifSlurp, palette to 32 bits
//   PNG   LoadPictureBytes             libpng, same transforms, same rows
//   JPEG  LoadPictureBytes             libjpeg-turbo, blue-green-red rows
//   error diffusion, table-driven      a plain loop of the same rule
//
// Inputs come from the shared benchmark pictures (VELM_BENCH_IMAGES, or the
// folder the build was configured with); every file is read into memory
// once, so the runs measure decoding only.

#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <png.h>
#include <stdlib.h>

#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "applet/skin/error_diffusion.h"
#include "applet/skin/skin_description.h"
#include "applet/skin/skin_image_file.h"
#include "applet/skin/skin_scene.h"
#include "platform/device.h"

namespace {

namespace fs = std::filesystem;

fs::path ImagesFolder() {
  if (const char* env = std::getenv("VELM_BENCH_IMAGES")) return env;
  return VELM_BENCH_IMAGES_DEFAULT;
}

const std::string& FileBytes(const std::string& name) {
  static std::map<std::string, std::string> cache;
  auto [it, added] = cache.try_emplace(name);
  if (added) {
    std::ifstream in(ImagesFolder() / name, std::ios::binary);
    it->second.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return it->second;
}

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// ---------------------------------------------------------------- ours

void Project(benchmark::State& state, const std::string& name) {
  const std::string& file = FileBytes(name);
  if (file.empty()) return state.SkipWithError(("missing " + name).c_str());
  const platform::WString path = platform::FromUtf8(name);
  for (auto _ : state) {
    applet::SkinDib picture;
    if (applet::LoadPictureBytes(Bytes(file), path, picture) != applet::picture_result::kOk)
      return state.SkipWithError("the engine refused the file");
    benchmark::DoNotOptimize(picture.Row(0));
  }
}

// ---------------------------------------------------------------- giflib

struct MemoryReader {
  const std::string* bytes;
  size_t position;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int length) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const size_t n = std::min<size_t>(static_cast<size_t>(length), reader->bytes->size() - reader->position);
  std::memcpy(out, reader->bytes->data() + reader->position, n);
  reader->position += n;
  return static_cast<int>(n);
}

void Giflib(benchmark::State& state, const std::string& name) {
  const std::string& file = FileBytes(name);
  if (file.empty()) return state.SkipWithError(("missing " + name).c_str());
  for (auto _ : state) {
    MemoryReader reader{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadGifBytes, &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) return state.SkipWithError("giflib refused");
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map = image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
    const int width = image.ImageDesc.Width, height = image.ImageDesc.Height;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    uint8_t* out = pixels.data();
    for (int i = 0; i < width * height; ++i, out += 4) {
      const GifColorType& c = map->Colors[image.RasterBits[i] % map->ColorCount];
      out[0] = c.Blue;
      out[1] = c.Green;
      out[2] = c.Red;
      out[3] = 255;
    }
    benchmark::DoNotOptimize(pixels.data());
    DGifCloseFile(gif, &error);
  }
}

// ---------------------------------------------------------------- libpng

struct PngSource {
  const std::string* bytes;
  size_t position;
};

void ReadPngBytes(png_structp png, png_bytep out, size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->bytes->size() - source->position) png_error(png, "short");
  std::memcpy(out, source->bytes->data() + source->position, length);
  source->position += length;
}

void Libpng(benchmark::State& state, const std::string& name) {
  const std::string& file = FileBytes(name);
  if (file.empty()) return state.SkipWithError(("missing " + name).c_str());
  for (auto _ : state) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<uint8_t> pixels;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png)) != 0) {
      png_destroy_read_struct(&png, &info, nullptr);
      return state.SkipWithError("libpng refused");
    }
    PngSource source{&file, 0};
    png_set_read_fn(png, &source, ReadPngBytes);
    png_read_info(png, info);
    const int colourType = png_get_color_type(png, info);
    png_set_strip_16(png);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparency) png_set_expand(png);
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA || (colourType == PNG_COLOR_TYPE_GRAY && transparency))
      png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_packing(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const size_t stride = (png_get_rowbytes(png, info) + 3) / 4 * 4;
    pixels.assign(stride * height, 0);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + (height - 1 - y) * stride;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    benchmark::DoNotOptimize(pixels.data());
    png_destroy_read_struct(&png, &info, nullptr);
    (void)width;
  }
}

// ---------------------------------------------------------------- libjpeg-turbo

struct JpegErrors {
  jpeg_error_mgr library;
  std::jmp_buf back;
};

[[noreturn]] void JpegJump(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->back, 1); }

void Libjpeg(benchmark::State& state, const std::string& name) {
  const std::string& file = FileBytes(name);
  if (file.empty()) return state.SkipWithError(("missing " + name).c_str());
  for (auto _ : state) {
    jpeg_decompress_struct jpeg{};
    JpegErrors errors{};
    jpeg.err = jpeg_std_error(&errors.library);
    errors.library.error_exit = JpegJump;
    std::vector<uint8_t> pixels;
    if (setjmp(errors.back) != 0) {
      jpeg_destroy_decompress(&jpeg);
      return state.SkipWithError("libjpeg refused");
    }
    jpeg_create_decompress(&jpeg);
    jpeg_mem_src(&jpeg, reinterpret_cast<const unsigned char*>(file.data()), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&jpeg, TRUE);
    jpeg.out_color_space = jpeg.num_components == 1 ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_start_decompress(&jpeg);
    const size_t stride = (static_cast<size_t>(jpeg.output_width) * jpeg.output_components + 3) / 4 * 4;
    pixels.assign(stride * jpeg.output_height, 0);
    while (jpeg.output_scanline < jpeg.output_height) {
      JSAMPROW row = pixels.data() + (jpeg.output_height - 1 - jpeg.output_scanline) * stride;
      jpeg_read_scanlines(&jpeg, &row, 1);
    }
    jpeg_finish_decompress(&jpeg);
    jpeg_destroy_decompress(&jpeg);
    benchmark::DoNotOptimize(pixels.data());
  }
}

// ---------------------------------------------------------------- error diffusion

// The 24-bit picture to reduce: a PNG of the shared set, decoded once.
applet::SkinDib& DiffusionInput(const std::string& name) {
  static std::map<std::string, applet::SkinDib> pictures;
  applet::SkinDib& picture = pictures[name];
  if (picture.IsEmpty()) applet::LoadPictureBytes(Bytes(FileBytes(name)), u"input.png", picture);
  return picture;
}

void DiffusionProject(benchmark::State& state, const std::string& name) {
  applet::SkinDib& in = DiffusionInput(name);
  if (in.BitCount() != 24) return state.SkipWithError("no 24-bit input");
  std::vector<uint8_t> out(static_cast<size_t>(in.Width()) * in.Height() * 3);
  const ptrdiff_t step = in.Row(1) - in.Row(0);
  for (auto _ : state) {
    applet::DiffuseToDisplayLevels({in.Row(0), step}, {out.data(), in.Width() * 3}, in.Width(), in.Height());
    benchmark::DoNotOptimize(out.data());
  }
}

// The same rule written out plainly.
int RoundShare(int n, int d) { return d >= 0 ? (n * d + 8) / 16 : -((-n * d + 8) / 16); }

void DiffusionPlainLoop(benchmark::State& state, const std::string& name) {
  applet::SkinDib& in = DiffusionInput(name);
  if (in.BitCount() != 24) return state.SkipWithError("no 24-bit input");
  const int width = in.Width(), height = in.Height();
  std::vector<uint8_t> out(static_cast<size_t>(width) * height * 3);
  std::vector<int> errors(2 * (width + 2) * 3);
  for (auto _ : state) {
    std::fill(errors.begin(), errors.end(), 0);
    int* current = errors.data();
    int* below = errors.data() + (width + 2) * 3;
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = in.Row(y);
      uint8_t* shown = out.data() + static_cast<size_t>(y) * width * 3;
      for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) {
          const int i = (x + 1) * 3 + c;
          const int v = row[x * 3 + c] + current[i];
          const int q = v < 0 ? 0 : v > 255 ? 255 : (v >> 4) * 17;
          const int d = v - q;
          shown[x * 3 + c] = static_cast<uint8_t>(q);
          current[i + 3] += RoundShare(7, d);
          below[i - 3] += RoundShare(3, d);
          below[i] += RoundShare(5, d);
          below[i + 3] += RoundShare(1, d);
        }
      }
      std::fill(current, current + (width + 2) * 3, 0);
      std::swap(current, below);
    }
    benchmark::DoNotOptimize(out.data());
  }
}

// ---------------------------------------------------------------- the sample skin

class SkinDevice {
 public:
  SkinDevice() {
    std::string pattern = (fs::temp_directory_path() / "velm-skin-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    root_ = pattern;
    fs::create_directories(root_ / "fs" / "Skins");
    for (const auto& entry : fs::directory_iterator(fs::path(VELM_SOURCE_DIR) / "resources" / "skins"))
      fs::copy_file(entry.path(), root_ / "fs" / "Skins" / entry.path().filename());
    scoped_ = std::make_unique<platform::ScopedDevice>(root_);
  }
  ~SkinDevice() {
    scoped_.reset();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

 private:
  fs::path root_;
  std::unique_ptr<platform::ScopedDevice> scoped_;
};

void SampleSkin(benchmark::State& state, const char16_t* file) {
  static SkinDevice device;
  for (auto _ : state) {
    applet::SkinScene scene;
    if (scene.Load(u"\\Skins\\", file, nullptr) != applet::SkinDib::kOk) return state.SkipWithError("no picture");
    benchmark::DoNotOptimize(scene.WindowPicture().Row(0));
  }
}

// ---------------------------------------------------------------- registration and ratios

struct Pair {
  std::string group;
  std::string input;
};

void RegisterPairs() {
  for (const char* gif : {"gif_skin_240x268.gif", "gif_skin_240x268_interlaced.gif", "gif_skin_240x268_transparent.gif",
                          "gif_skin_240x268_87a.gif", "gif_photo_1024x1024.gif"}) {
    benchmark::RegisterBenchmark((std::string("GIF/") + gif + "/project").c_str(), Project, std::string(gif));
    benchmark::RegisterBenchmark((std::string("GIF/") + gif + "/reference").c_str(), Giflib, std::string(gif));
  }
  for (const char* png : {"png_pal8_240x268.png", "png_grey2_240x268.png", "png_rgb16_240x268.png", "png_rgba8_240x268.png",
                          "png_rgb8_interlaced_240x268.png", "png_rgb8_240x268.png", "png_pal8_2048x2048.png",
                          "png_rgb8_2048x2048.png"}) {
    benchmark::RegisterBenchmark((std::string("PNG/") + png + "/project").c_str(), Project, std::string(png));
    benchmark::RegisterBenchmark((std::string("PNG/") + png + "/reference").c_str(), Libpng, std::string(png));
  }
  for (const char* jpeg : {"jpeg_grey_240x268.jpg", "jpeg_rgb_240x268.jpg", "jpeg_grey_2048x2048.jpg",
                           "jpeg_rgb_2048x2048.jpg"}) {
    benchmark::RegisterBenchmark((std::string("JPEG/") + jpeg + "/project").c_str(), Project, std::string(jpeg));
    benchmark::RegisterBenchmark((std::string("JPEG/") + jpeg + "/reference").c_str(), Libjpeg, std::string(jpeg));
  }
  for (const char* png : {"png_rgb8_240x268.png", "png_rgb8_2048x2048.png"}) {
    benchmark::RegisterBenchmark((std::string("Diffusion/") + png + "/project").c_str(), DiffusionProject,
                                 std::string(png));
    benchmark::RegisterBenchmark((std::string("Diffusion/") + png + "/reference").c_str(), DiffusionPlainLoop,
                                 std::string(png));
  }
  benchmark::RegisterBenchmark("SampleSkin/VELMconfig.inf", SampleSkin, u"VELMconfig.inf")->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("SampleSkin/VELMconfigLS.inf", SampleSkin, u"VELMconfigLS.inf")
      ->Unit(benchmark::kMillisecond);
}

// Keeps each run's time per iteration and prints project/reference ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (!run.error_occurred) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
  }
  void PrintRatios(std::ostream& out) const {
    out << "\nproject / reference, CPU time per run (the machine may be shared: CPU time is what the code costs)\n";
    for (const auto& [name, time] : times_) {
      const std::string suffix = "/project";
      if (name.size() < suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
      const std::string stem = name.substr(0, name.size() - suffix.size());
      auto reference = times_.find(stem + "/reference");
      if (reference == times_.end() || reference->second <= 0) continue;
      char line[160];
      std::snprintf(line, sizeof line, "  %-48s %.2f\n", stem.c_str(), time / reference->second);
      out << line;
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  RegisterPairs();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios(std::cout);
  benchmark::Shutdown();
  return 0;
}
