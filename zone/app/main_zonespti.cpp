// zonespti: the region utility on the pass-through back-end.
#include "zone/app/region_app.h"

int main(int argc, char** argv) { return zone::RunRegionProgram(argc, argv); }
