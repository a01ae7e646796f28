// The File Open request in Qt's terms.
#include "flash/app/qt_open_file_dialog.h"

#include <QDir>
#include <QFile>

#include "resources/flash/flash_strings.h"

namespace flash {
namespace {

// The start folder ".\\" is the current folder.
QString DialogFolder(const std::string& folder) {
  if (folder.empty() || folder == ".\\" || folder == "./") return QDir::currentPath();
  return QFile::decodeName(QByteArray::fromStdString(folder));
}

}  // namespace

std::optional<std::string> QtOpenFileDialog::ChooseOpenFile(const OpenFileRequest& request) {
  ui::OpenFileDialogRequest dialogRequest;
  dialogRequest.title = QString::fromStdString(request.title);
  dialogRequest.initialFolder = DialogFolder(request.initialFolder);
  dialogRequest.initialFileName =
      QFile::decodeName(QByteArray::fromStdString(request.initialFileName));
  dialogRequest.filter = QString::fromStdString(request.filterDescription) + QLatin1Char(' ') +
                         QString::fromLatin1(resources::kHexFileFilterPattern);
  const std::optional<QString> chosen = service_.ChooseOpenFile(dialogRequest);
  if (!chosen.has_value()) return std::nullopt;
  return QFile::encodeName(*chosen).toStdString();
}

}  // namespace flash
