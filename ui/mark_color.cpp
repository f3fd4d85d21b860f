#include "ui/mark_color.h"

#include <QPalette>
#include <cmath>

namespace {

double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
  return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

QColor Mix(const QColor& from, const QColor& to, double share) {
  auto channel = [share](double a, double b) { return static_cast<float>(a + (b - a) * share); };
  return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
                          channel(from.blueF(), to.blueF()));
}

bool StandsOut(const QColor& mark, std::initializer_list<QColor> backgrounds, double ratio) {
  for (const QColor& background : backgrounds)
    if (ContrastRatio(mark, background) < ratio) return false;
  return true;
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor VisibleMark(const QColor& mark, std::initializer_list<QColor> backgrounds, double ratio) {
  const QColor opaque = QColor::fromRgbF(mark.redF(), mark.greenF(), mark.blueF());
  if (StandsOut(opaque, backgrounds, ratio) || backgrounds.size() == 0) return opaque;
  double lightest = 0;
  for (const QColor& background : backgrounds) lightest = std::max(lightest, Luminance(background));
  // Away from the lightest background: towards white only where all of them are dark.
  const QColor target = lightest < 0.18 ? QColor(Qt::white) : QColor(Qt::black);
  constexpr int kSteps = 50;
  for (int step = 1; step <= kSteps; ++step) {
    const QColor mixed = Mix(opaque, target, static_cast<double>(step) / kSteps);
    if (StandsOut(mixed, backgrounds, ratio)) return mixed;
  }
  return target;
}

QColor FrameColor(const QPalette& palette, double ratio) {
  return VisibleMark(palette.color(QPalette::Mid),
                     {palette.color(QPalette::Window), palette.color(QPalette::Base)}, ratio);
}

QColor FocusColor(const QPalette& palette) {
  return VisibleMark(palette.color(QPalette::Highlight),
                     {palette.color(QPalette::Window), palette.color(QPalette::Base),
                      palette.color(QPalette::Button)});
}
