// The updaters' document cycle, as the framework runs it: a new document at
// start-up and on Ctrl+N, an opened document from the recent-file list, a
// dropped file or the command line. The document carries nothing but its
// title: opening one reads nothing and loads no firmware.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "flash/window/app_variant.h"
#include "flash/window/recent_file_list.h"

namespace flash {

// What the document cycle asks of the frame window.
class DocumentFrame {
 public:
  virtual ~DocumentFrame() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  // The recent-file list changed: rebuild its menu entries.
  virtual void RecentFilesChanged() = 0;
  // The view's initial update: rescan, re-centre the frame, lay out the form.
  virtual void InitialUpdate() = 0;
  // A message box over the frame; an empty caption is the application title.
  virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
};

class DocumentCycle {
 public:
  DocumentCycle(const AppVariant& variant, RecentFileList& recentFiles, DocumentFrame& frame)
      : variant_(variant), recentFiles_(recentFiles), frame_(frame) {}

  void NewDocument();
  // False (after the framework's message, and the path dropped from the
  // recent-file list) when the file cannot be opened.
  bool OpenDocument(const std::string& path);

  const std::string& DocumentTitle() const { return documentTitle_; }
  // "<document> - <frame>" (flashaspi) or "<frame> - <document>" (flashspti).
  std::string Caption() const;

 private:
  const AppVariant& variant_;
  RecentFileList& recentFiles_;
  DocumentFrame& frame_;
  std::string documentTitle_;
};

// The framework's message for a document that cannot be opened.
std::string CannotOpenDocumentText(const std::string& path);

// The first command-line argument that is not a switch: the document to open.
std::optional<std::string> DocumentArgument(const std::vector<std::string>& arguments);

}  // namespace flash
