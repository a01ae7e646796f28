// Fonts named by dialog templates. Where the named face is not installed the
// system picks another family; the weight the name carries ("Arial Black" is
// a black face) and the point size are kept, so a heavy face falls back to a
// heavy one instead of a regular one.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace ui {

// The weight a face's name implies: "Black" or "Heavy" is black, "Bold" is
// bold, and so on; a name without such a word is of normal weight.
QFont::Weight WeightNamedBy(const QString& family);

// The named family followed by installed-or-not stand-ins that have a face of
// its weight, most alike first.
QStringList FamiliesFor(const QString& family);

// The font for a named face at a point size, with the weight kept whatever
// family the system resolves it to.
QFont NamedFaceFont(const QString& family, int pointSize);

}  // namespace ui
