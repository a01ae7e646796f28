// The updaters' supported-drive tables: vendor and product as the drives
// report them, one blank, the generation tag and digit.
#include <algorithm>

#include "drvcmd/drive_identify.h"

namespace drvcmd {

namespace {

// The literal's type fixes the row size: a row of the wrong width does not compile.
consteval SupportedDriveRow Row(const char (&text)[kSupportedRowSize]) {
  SupportedDriveRow row{};
  std::copy(text, text + kSupportedRowSize, row.begin());
  return row;
}

constexpr SupportedDriveRow kPassThroughUpdaterRows[] = {
    Row("TAVREON DVD-ROM KD-310   G5"), Row("TAVREON DVD-ROM KD-320   G5"),
    Row("TAVREON DVD-ROM KD-310R  G5"), Row("TAVREON DVD-ROM KD-320R  G5"),
    Row("Orbec   DVD-ROM KD-320   G5"), Row("TAVREON DVD-ROM KD-410   G6"),
    Row("TAVREON DVD-ROM KD-420   G6"), Row("TAVREON DVD-ROM KD-410R  G6"),
    Row("TAVREON DVD-ROM KD-420R  G6"), Row("Orbec   DVD-ROM KD-420   G6"),
    Row("TAVREON KD-420RD         G6"), Row("TAVREON 12X DVD-ROM      G6"),
    Row("TAVREON 16X DVD-ROM      G6"), Row("Lumax   KD-4200 PRO      G6"),
    Row("TAVREON DVD-ROM KD-520   G7"), Row("TAVREON DVD-ROM KD-520R  G7"),
};

constexpr SupportedDriveRow kAspiUpdaterRows[] = {
    Row("TAVREON DVD-ROM KD-310   G5"), Row("TAVREON DVD-ROM KD-320   G5"),
    Row("TAVREON DVD-ROM KD-310R  G5"), Row("TAVREON DVD-ROM KD-320R  G5"),
    Row("Orbec   DVD-ROM KD-320   G5"), Row("TAVREON DVD-ROM KD-410   G6"),
    Row("TAVREON DVD-ROM KD-420   G6"), Row("TAVREON DVD-ROM KD-410R  G6"),
    Row("TAVREON DVD-ROM KD-420R  G6"), Row("Orbec   DVD-ROM KD-420   G6"),
    Row("TAVREON KD-420RD         G6"), Row("Lumax   KD-4200 PRO      G6"),
    Row("TAVREON DVD-ROM KD-520   G7"), Row("TAVREON DVD-ROM KD-520R  G7"),
    Row("Orbec   DVD-ROM KD-520   G7"),
};

}  // namespace

std::span<const SupportedDriveRow> SupportedDriveTable(ProgramId program) {
  switch (program) {
    case ProgramId::kFlashSpti:
      return kPassThroughUpdaterRows;
    case ProgramId::kFlashAspi:
      return kAspiUpdaterRows;
    default:
      return {};  // only the updaters consult a table
  }
}

}  // namespace drvcmd
