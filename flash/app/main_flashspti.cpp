// flashspti: the firmware updater on the pass-through back-end.
#include "flash/app/updater_app.h"

int main(int argc, char** argv) {
  return flash::RunUpdaterProgram(argc, argv, flash::AppVariant::Spti());
}
