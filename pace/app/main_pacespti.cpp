// pacespti: the speed utility on the pass-through back-end.
#include "pace/app/speed_app.h"

int main(int argc, char** argv) {
  return pace::RunSpeedProgram(argc, argv, pace::SpeedWindowVariant::Spti());
}
