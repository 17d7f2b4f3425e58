#include "cli/render_command.h"

#include <QBuffer>
#include <QByteArray>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "cli/craft_source.h"
#include "editing/selection.h"
#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/number_text.h"
#include "model/project.h"
#include "opt/bitmap.h"
#include "viewport/bitmap_image.h"
#include "viewport/craft_render.h"

namespace fs = std::filesystem;

namespace tamsel {

namespace {

std::string Option(const std::map<std::string, std::string>& options, const std::string& name,
                   const std::string& fallback) {
  const auto it = options.find(name);
  return it == options.end() ? fallback : it->second;
}

// "800x600" (or "800X600"), or "256" for a square, as thumbnailers ask.
void ParseSize(const std::string& text, int& width, int& height) {
  const auto x = text.find_first_of("xX");
  const auto w = ParseInteger(text.substr(0, x));
  const auto h = x == std::string::npos ? w : ParseInteger(text.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > 8192 || *h > 8192)
    throw std::invalid_argument("--size takes WIDTHxHEIGHT or SIDE, each from 1 to 8192 pixels");
  width = static_cast<int>(*w);
  height = static_cast<int>(*h);
}

}  // namespace

int RenderCommand(const std::vector<std::string>& positional,
                  const std::map<std::string, std::string>& options) {
  if (positional.size() != 2) throw std::invalid_argument("wrong number of arguments");
  RenderRequest request;
  const std::string view = Option(options, "--view", "3d");
  const auto angle = ViewAngleNamed(view);
  if (!angle || view == "perspective")
    throw std::invalid_argument("--view takes 3d, top, front, right, bottom, back or left");
  request.angle = *angle;
  ParseSize(Option(options, "--size", "800x600"), request.width, request.height);
  if (options.count("--wire") && options.count("--textured"))
    throw std::invalid_argument("--wire and --textured exclude each other");
  request.view.DisplayMode = options.count("--wire") ? Display::Wire : Display::Texture;
  const std::string level = Option(options, "--level", "high");
  if (level != "high" && level != "low") throw std::invalid_argument("--level takes high or low");
  request.view.CurrentLOD = level == "low" ? Detail::Low : Detail::High;
  request.view.NormalsShown = false;
  request.view.GridShown = options.count("--grid") > 0;
  request.view.AxesShown = options.count("--axes") > 0;
  request.view.GradientShown = options.count("--gradient") > 0;
  // A file manager's picture: the textured 3D view on the neutral gradient, nothing else.
  if (options.count("--thumbnail")) {
    if (options.count("--wire") || options.count("--view"))
      throw std::invalid_argument("--thumbnail chooses the view and the drawing itself");
    request.view.GradientShown = true;
  }

  const fs::path source = positional[0], out = positional[1];
  if (!HasExtension(out, ".png")) throw std::invalid_argument("the picture is written as .png");
  CraftSource craft = ReadCraft(source);
  Model& model = craft.model;
  // A project's bitmaps load as the window loads them; an OPT file's come from the file.
  const PictureSource pictures = craft.fromOpt ? PictureSource([&](std::size_t t) {
    try {
      return ImageOfBitmap(craft.bitmaps(model.Textures[t]));
    } catch (const FileError&) {
      return QImage();
    }
  })
                                               : ProjectPictures(model);
  CalculateBounds(model);
  // A picture of the craft, not of what happened to be selected when it was saved.
  for (int level = 0; level < 2; ++level) ApplyPick(model, level, PickKind::Mesh, {}, false);
  const RenderResult result = RenderCraft(model, request, pictures);
  if (result.image.isNull()) throw std::runtime_error("cannot draw: " + result.error);
  for (const std::string& name : result.missing)
    std::cerr << "note: " << name << ": missing or unreadable bitmap, drawn untextured\n";
  // The picture goes in whole or not at all.
  const QByteArray png = [&] {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    result.image.save(&buffer, "PNG");
    return bytes;
  }();
  WriteFileAtomic(out, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
  std::cout << "wrote " << out.string() << ": " << request.width << " x " << request.height << "\n";
  return 0;
}

}  // namespace tamsel
