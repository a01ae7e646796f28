// Document string fields and the extension rule.
#include "flash/document_type.h"

namespace flash {

std::string DocumentStringPart(std::string_view documentString, DocumentStringField field) {
  int index = static_cast<int>(field);
  while (index > 0) {
    const std::size_t newline = documentString.find('\n');
    if (newline == std::string_view::npos) return std::string();
    documentString.remove_prefix(newline + 1);
    --index;
  }
  return std::string(documentString.substr(0, documentString.find('\n')));
}

DocumentType DocumentTypeOf(std::string_view documentString) {
  DocumentType type;
  type.id = DocumentStringPart(documentString, DocumentStringField::kFileTypeId);
  if (type.id.empty()) return type;
  type.name = DocumentStringPart(documentString, DocumentStringField::kFileTypeName);
  if (type.name.empty()) type.name = type.id;
  type.extension = DocumentStringPart(documentString, DocumentStringField::kFilterExtension);
  return type;
}

bool ClaimsExtension(std::string_view currentType, std::string_view ourType) {
  return currentType.empty() || currentType == ourType;
}

}  // namespace flash
