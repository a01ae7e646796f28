// Desktop entry and MIME default for the FLASHKIT document type.
#include "flash/app/document_type_registration.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

namespace flash {
namespace {

constexpr char kDefaultsGroup[] = "[Default Applications]";

bool WriteWholeFile(const QString& path, const QString& text) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
  const QByteArray bytes = text.toUtf8();
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QString DesktopEntry(const QString& executablePath) {
  QString exec = executablePath;
  exec.replace(QStringLiteral("\\"), QStringLiteral("\\\\"))
      .replace(QStringLiteral("\""), QStringLiteral("\\\""));
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=FLASHKIT Document\n"
             "Comment=FLASHKIT.Document\n"
             "Exec=\"%1\" %f\n"
             "MimeType=%2;\n"
             "NoDisplay=true\n"
             "Terminal=false\n")
      .arg(exec, QString::fromLatin1(kHexMimeType));
}

// True when a mimeapps.list names a default application for HEX files,
// whichever application that is.
bool HasHexDefault(const QStringList& lines) {
  bool inDefaults = false;
  for (const QString& rawLine : lines) {
    const QString line = rawLine.trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      inDefaults = line == QLatin1String(kDefaultsGroup);
      continue;
    }
    if (inDefaults && line.section(QLatin1Char('='), 0, 0).trimmed() == QLatin1String(kHexMimeType))
      return true;
  }
  return false;
}

// The mimeapps.list lines with our default added to its defaults group.
void AddHexDefault(QStringList& lines) {
  const QString ours = QString::fromLatin1(kHexMimeType) + QLatin1Char('=') +
                       QString::fromLatin1(kDocumentDesktopFile);
  for (int index = 0; index < lines.size(); ++index) {
    if (lines[index].trimmed() == QLatin1String(kDefaultsGroup)) {
      lines.insert(index + 1, ours);
      return;
    }
  }
  if (!lines.isEmpty() && !lines.last().isEmpty()) lines.append(QString());
  lines.append(QString::fromLatin1(kDefaultsGroup));
  lines.append(ours);
}

// The lines of a text file; an absent file has none. False when it exists
// but cannot be read.
bool ReadLines(const QString& path, QStringList& lines) {
  QFile file(path);
  if (!file.exists()) return true;
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
  QTextStream in(&file);
  while (!in.atEnd()) lines.append(in.readLine());
  return true;
}

}  // namespace

QString DesktopDataHome() {
  const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
  if (!configured.isEmpty()) return configured;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

QString DesktopConfigHome() {
  const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!configured.isEmpty()) return configured;
  return QDir::homePath() + QStringLiteral("/.config");
}

bool RegisterDocumentType(const QString& dataHome, const QString& configHome,
                          const QString& executablePath) {
  const QString applications = dataHome + QStringLiteral("/applications");
  if (!QDir().mkpath(applications)) return false;
  // Our own entry is always refreshed: it names only this program.
  if (!WriteWholeFile(applications + QLatin1Char('/') + QString::fromLatin1(kDocumentDesktopFile),
                      DesktopEntry(executablePath))) {
    return false;
  }

  // The user's own choice (the config list) outranks the data list; a default
  // in either is left as it is, ours included.
  QStringList userLines;
  if (!ReadLines(configHome + QStringLiteral("/mimeapps.list"), userLines)) return false;
  if (HasHexDefault(userLines)) return true;
  const QString listPath = applications + QStringLiteral("/mimeapps.list");
  QStringList lines;
  if (!ReadLines(listPath, lines)) return false;
  if (HasHexDefault(lines)) return true;
  AddHexDefault(lines);
  return WriteWholeFile(listPath, lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

}  // namespace flash
