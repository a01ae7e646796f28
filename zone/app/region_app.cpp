// zonespti start-up and shut-down.
#include "zone/app/region_app.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstring>

#include "resources/zone/zone_icon.h"
#include "resources/zone/zone_strings.h"
#include "startup/startup_platform.h"

namespace zone {
namespace {

QRgb ColourOf(char key) {
  for (const resources::ZoneIconColour& colour : resources::ZoneIconPalette()) {
    if (colour.key == key) return colour.argb;
  }
  return 0;  // unknown keys stay transparent
}

}  // namespace

QIcon ZoneIcon() {
  constexpr int kSize = resources::kZoneIconSize;
  QImage pixels(kSize, kSize, QImage::Format_ARGB32);
  pixels.fill(Qt::transparent);
  const auto rows = resources::ZoneIconRows();
  for (int y = 0; y < kSize && static_cast<std::size_t>(y) < rows.size(); ++y) {
    const char* row = rows[static_cast<std::size_t>(y)];
    const int length = static_cast<int>(std::strlen(row));
    for (int x = 0; x < kSize && x < length; ++x) pixels.setPixel(x, y, ColourOf(row[x]));
  }
  return QIcon(QPixmap::fromImage(pixels));
}

RegionApp::RegionApp(platform::Platform& system)
    : system_(system), messages_(resources::kZoneApplicationTitle) {}

RegionApp::~RegionApp() { Stop(); }

int RegionApp::Start() {
  dialog_ = std::make_unique<RegionDialog>(messages_);
  utility_ = std::make_unique<RegionUtility>(system_, *dialog_);
  const int result = utility_->Start();
  if (result != drvcmd::kStartOk) {
    messages_.SetOwner(nullptr);
    messages_.MessageBox(drvcmd::StartTransportMessage(result), std::string(), drvcmd::kMbOk);
    return result;
  }
  started_ = true;
  messages_.SetOwner(dialog_.get());
  dialog_->AttachUtility(utility_.get());
  dialog_->Initialise();
  return 0;
}

void RegionApp::Stop() {
  if (!started_) return;
  started_ = false;
  dialog_->AttachUtility(nullptr);
  utility_->Stop();
}

int RunRegionProgram(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(resources::kZoneApplicationTitle));
  QApplication::setWindowIcon(ZoneIcon());

  std::string error;
  std::unique_ptr<platform::Platform> system = startup::OpenStartupPlatform(&error);
  if (system == nullptr) {
    ui::MessageBoxService messages(resources::kZoneApplicationTitle);
    messages.MessageBox(error.empty() ? std::string("The platform could not be opened.") : error,
                        std::string(), drvcmd::kMbIconHand);
    return 1;
  }

  RegionApp app(*system);
  if (app.Start() != 0) return 1;
  // The dialog is the main window; its modal run is the program's.
  app.Dialog().exec();
  app.Stop();
  return 0;
}

}  // namespace zone
