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

// The mimeapps.list lines with our default added to its defaults group,
// unless another default for HEX files is there already.
bool AddDefaultIfFree(QStringList& lines) {
  const QString key = QString::fromLatin1(kHexMimeType) + QLatin1Char('=');
  const QString ours = key + QString::fromLatin1(kDocumentDesktopFile);
  int groupLine = -1;
  bool inDefaults = false;
  for (int index = 0; index < lines.size(); ++index) {
    const QString line = lines[index].trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      inDefaults = line == QLatin1String(kDefaultsGroup);
      if (inDefaults) groupLine = index;
      continue;
    }
    if (inDefaults && line.startsWith(key)) return false;  // ours or another: leave it
  }
  if (groupLine < 0) {
    if (!lines.isEmpty() && !lines.last().isEmpty()) lines.append(QString());
    lines.append(QString::fromLatin1(kDefaultsGroup));
    lines.append(ours);
  } else {
    lines.insert(groupLine + 1, ours);
  }
  return true;
}

}  // namespace

QString DesktopDataHome() {
  const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
  if (!configured.isEmpty()) return configured;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

bool RegisterDocumentType(const QString& dataHome, const QString& executablePath) {
  const QString applications = dataHome + QStringLiteral("/applications");
  if (!QDir().mkpath(applications)) return false;
  if (!WriteWholeFile(applications + QLatin1Char('/') + QString::fromLatin1(kDocumentDesktopFile),
                      DesktopEntry(executablePath))) {
    return false;
  }

  const QString listPath = applications + QStringLiteral("/mimeapps.list");
  QStringList lines;
  QFile list(listPath);
  if (list.exists()) {
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream in(&list);
    while (!in.atEnd()) lines.append(in.readLine());
    list.close();
  }
  if (!AddDefaultIfFree(lines)) return true;
  return WriteWholeFile(listPath, lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

}  // namespace flash
