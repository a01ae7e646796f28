// The updater's document type as its document string names it, and the rule
// for taking over an extension: both the desktop and the registry
// registration follow it.
#pragma once

#include <string>
#include <string_view>

namespace flash {

// The fields of a document string, in the framework's order.
enum class DocumentStringField {
  kWindowTitle = 0,
  kDocumentName = 1,
  kFileNewName = 2,
  kFilterName = 3,
  kFilterExtension = 4,
  kFileTypeId = 5,
  kFileTypeName = 6,
};

// One "\n"-separated field; empty when the string has fewer fields.
std::string DocumentStringPart(std::string_view documentString, DocumentStringField field);

struct DocumentType {
  std::string id;         // "FLASHKIT.Document"; empty: nothing is registered
  std::string name;       // "FLASHKIT Document" (the id when the string names none)
  std::string extension;  // ".hex"; empty: no extension is claimed
};

DocumentType DocumentTypeOf(std::string_view documentString);

// Whether the extension is given to our type: only when it has no type yet or
// already has ours, so another program's association is never taken over.
bool ClaimsExtension(std::string_view currentType, std::string_view ourType);

}  // namespace flash
