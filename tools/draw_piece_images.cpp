// Draws the 14 piece pictures FU.jpg .. RY.jpg: a pentagon piece on a light
// wood tone with the piece's kanji from a CJK font, promoted kinds in red, on
// the black of the board picture. Usage:
//   draw_piece_images <font file (.ttf, .otf, .ttc)> <output folder>
// Everything is drawn at four times the size and reduced, which gives smooth
// edges without any blending in the board drawing itself.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "shogi/position.h"

namespace {

constexpr int Supersample = 4;
constexpr int Width = 45;  // one board cell
constexpr int Height = 50;

struct PieceStyle {
  char32_t kanji;
  bool promoted;
  double size;  // traditional sets make the stronger pieces a little larger
};

// In piece-code order FU..RY.
constexpr PieceStyle PieceStyles[fv::PieceKindCount] = {
    {U'歩', false, 0.84}, {U'香', false, 0.88}, {U'桂', false, 0.90}, {U'銀', false, 0.94},
    {U'金', false, 0.94}, {U'角', false, 0.97}, {U'飛', false, 0.97}, {U'玉', false, 1.00},
    {U'と', true, 0.84},  {U'杏', true, 0.88},  {U'圭', true, 0.90},  {U'全', true, 0.94},
    {U'馬', true, 0.97},  {U'龍', true, 0.97}};

const cv::Vec3d WoodTop(150, 214, 244);  // light wood, blue-green-red
const cv::Vec3d WoodBottom(112, 184, 226);
const cv::Vec3d GrainShade(-18, -20, -14);
const cv::Vec3d EdgeColour(50, 80, 112);
const cv::Vec3d BlackInk(24, 24, 24);
const cv::Vec3d RedInk(28, 28, 196);

struct Outline {
  std::vector<cv::Point2d> corners;  // apex, right shoulder, right foot, left foot, left shoulder
};

// The pentagon of a piece of relative size `size`, standing on a fixed foot line.
Outline PieceOutline(double size) {
  const double centre = Width / 2.0, foot = 48.0;
  const double height = 44.0 * size, footHalf = 19.0 * size, shoulderHalf = 15.5 * size;
  const double apex = foot - height, shoulder = apex + 11.0 * size;
  return {{{centre, apex},
           {centre + shoulderHalf, shoulder},
           {centre + footHalf, foot},
           {centre - footHalf, foot},
           {centre - shoulderHalf, shoulder}}};
}

std::vector<cv::Point> Scaled(const Outline& outline) {
  std::vector<cv::Point> points;
  for (const cv::Point2d& p : outline.corners)
    points.emplace_back(static_cast<int>(std::lround(p.x * Supersample)),
                        static_cast<int>(std::lround(p.y * Supersample)));
  return points;
}

// Wood: a top-to-bottom gradient crossed by faint wavy vertical grain.
void PaintWood(cv::Mat& canvas, const cv::Mat& mask) {
  for (int y = 0; y < canvas.rows; ++y) {
    const double t = static_cast<double>(y) / canvas.rows;
    for (int x = 0; x < canvas.cols; ++x) {
      if (!mask.at<uchar>(y, x)) continue;
      const double wave = std::sin(x * 0.11 + 2.0 * std::sin(y * 0.017));
      const double grain = std::pow(std::max(0.0, wave), 12.0);
      const cv::Vec3d colour = WoodTop * (1 - t) + WoodBottom * t + GrainShade * grain;
      canvas.at<cv::Vec3d>(y, x) = colour;
    }
  }
}

class GlyphSource {
 public:
  GlyphSource(const std::string& fontFile) {
    if (FT_Init_FreeType(&library_)) throw std::runtime_error("cannot start FreeType");
    // A collection holds several faces; take the Japanese one where there is one.
    FT_Long faces = 1;
    for (FT_Long index = 0; index < faces; ++index) {
      FT_Face face;
      if (FT_New_Face(library_, fontFile.c_str(), index, &face)) break;
      faces = face->num_faces;
      const std::string family = face->family_name ? face->family_name : "";
      if (!face_ || family.find("JP") != std::string::npos) {
        if (face_) FT_Done_Face(face_);
        face_ = face;
        if (family.find("JP") != std::string::npos) break;
      } else {
        FT_Done_Face(face);
      }
    }
    if (!face_) throw std::runtime_error(fontFile + ": not a font FreeType can read");
  }
  ~GlyphSource() {
    if (face_) FT_Done_Face(face_);
    FT_Done_FreeType(library_);
  }
  GlyphSource(const GlyphSource&) = delete;
  GlyphSource& operator=(const GlyphSource&) = delete;

  // Coverage (0..1) of the glyph's inked box, rendered `pixels` high per em.
  cv::Mat Render(char32_t code, int pixels) {
    if (FT_Get_Char_Index(face_, code) == 0)
      throw std::runtime_error("the font has no glyph for a piece kanji");
    FT_Set_Pixel_Sizes(face_, 0, pixels);
    if (FT_Load_Char(face_, code, FT_LOAD_RENDER))
      throw std::runtime_error("cannot render a piece kanji");
    const FT_Bitmap& bitmap = face_->glyph->bitmap;
    cv::Mat coverage(bitmap.rows, bitmap.width, CV_64F);
    for (unsigned r = 0; r < bitmap.rows; ++r)
      for (unsigned c = 0; c < bitmap.width; ++c)
        coverage.at<double>(r, c) = bitmap.buffer[r * bitmap.pitch + c] / 255.0;
    return coverage;
  }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

// Lays the ink of `coverage` onto the canvas, its box centred on `centre`.
void Ink(cv::Mat& canvas, const cv::Mat& coverage, cv::Point centre, const cv::Vec3d& ink) {
  const int left = centre.x - coverage.cols / 2, top = centre.y - coverage.rows / 2;
  for (int r = 0; r < coverage.rows; ++r)
    for (int c = 0; c < coverage.cols; ++c) {
      const int x = left + c, y = top + r;
      if (x < 0 || y < 0 || x >= canvas.cols || y >= canvas.rows) continue;
      const double a = coverage.at<double>(r, c);
      cv::Vec3d& pixel = canvas.at<cv::Vec3d>(y, x);
      pixel = pixel * (1 - a) + ink * a;
    }
}

cv::Mat DrawPiece(GlyphSource& glyphs, const PieceStyle& style) {
  const int w = Width * Supersample, h = Height * Supersample;
  cv::Mat canvas(h, w, CV_64FC3, cv::Scalar::all(0));
  cv::Mat mask(h, w, CV_8U, cv::Scalar(0));
  const Outline outline = PieceOutline(style.size);
  const std::vector<cv::Point> corners = Scaled(outline);
  cv::fillConvexPoly(mask, corners, cv::Scalar(255), cv::LINE_8);
  PaintWood(canvas, mask);
  cv::polylines(canvas, corners, true, cv::Scalar(EdgeColour), Supersample, cv::LINE_8);

  // The kanji stands in the body of the piece, between shoulders and foot.
  const double shoulder = outline.corners[1].y, foot = outline.corners[2].y;
  const cv::Point centre(w / 2, static_cast<int>(std::lround((shoulder + foot) / 2 * Supersample -
                                                             2.5 * Supersample)));
  const cv::Mat glyph =
      glyphs.Render(style.kanji, static_cast<int>(std::lround(29.0 * style.size * Supersample)));
  Ink(canvas, glyph, centre, style.promoted ? RedInk : BlackInk);

  cv::Mat small, picture;
  cv::resize(canvas, small, cv::Size(Width, Height), 0, 0, cv::INTER_AREA);
  small.convertTo(picture, CV_8UC3);
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: draw_piece_images <font file> <output folder>\n");
    return 2;
  }
  try {
    GlyphSource glyphs(argv[1]);
    const std::vector<int> jpeg = {cv::IMWRITE_JPEG_QUALITY, 95};
    for (int kind = 1; kind <= fv::PieceKindCount; ++kind) {
      const std::string path =
          std::string(argv[2]) + "/" + std::string(fv::PieceNames[kind - 1]) + ".jpg";
      if (!cv::imwrite(path, DrawPiece(glyphs, PieceStyles[kind - 1]), jpeg)) {
        std::fprintf(stderr, "draw_piece_images: %s: cannot write\n", path.c_str());
        return 1;
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "draw_piece_images: %s\n", e.what());
    return 1;
  }
  return 0;
}
