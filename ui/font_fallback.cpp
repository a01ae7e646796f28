// Weight from the face name, and stand-in families per face.
#include "ui/font_fallback.h"

#include <array>
#include <utility>

namespace ui {
namespace {

struct NamedWeight {
  const char* word;
  QFont::Weight weight;
};

// Longer words first: "ExtraBold" must not be read as "Bold".
constexpr std::array<NamedWeight, 12> kWeightWords = {{
    {"ExtraBlack", QFont::Black},
    {"UltraBold", QFont::ExtraBold},
    {"ExtraBold", QFont::ExtraBold},
    {"SemiBold", QFont::DemiBold},
    {"DemiBold", QFont::DemiBold},
    {"Black", QFont::Black},
    {"Heavy", QFont::Black},
    {"Bold", QFont::Bold},
    {"Demi", QFont::DemiBold},
    {"Medium", QFont::Medium},
    {"Light", QFont::Light},
    {"Thin", QFont::Thin},
}};

struct StandIns {
  const char* family;
  std::array<const char*, 2> standIns;
};

// Faces the templates name, with the free families that look most like them.
// Lato has a true black face; DejaVu Sans, the usual default, only a bold one.
constexpr std::array<StandIns, 1> kStandIns = {{
    {"Arial Black", {"Lato", "DejaVu Sans"}},
}};

}  // namespace

QFont::Weight WeightNamedBy(const QString& family) {
  QString squeezed = family;
  squeezed.remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
  for (const NamedWeight& named : kWeightWords) {
    if (squeezed.contains(QLatin1String(named.word), Qt::CaseInsensitive)) return named.weight;
  }
  return QFont::Normal;
}

QStringList FamiliesFor(const QString& family) {
  QStringList families{family};
  for (const StandIns& entry : kStandIns) {
    if (family.compare(QLatin1String(entry.family), Qt::CaseInsensitive) != 0) continue;
    for (const char* standIn : entry.standIns) families << QString::fromLatin1(standIn);
  }
  return families;
}

QFont NamedFaceFont(const QString& family, int pointSize) {
  QFont font;
  font.setFamilies(FamiliesFor(family));
  font.setPointSize(pointSize);
  font.setWeight(WeightNamedBy(family));
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace ui
