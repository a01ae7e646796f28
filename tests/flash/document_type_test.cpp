// The document type a document string names, and when it takes an extension.
#include "flash/document_type.h"

#include <gtest/gtest.h>

#include "resources/flash/flash_strings.h"

namespace {

TEST(DocumentType, FieldsComeFromTheDocumentStringInTheFrameworksOrder) {
  const flash::DocumentType aspi = flash::DocumentTypeOf(resources::kAspiDocumentString);
  EXPECT_EQ(aspi.id, "FLASHKIT.Document");
  EXPECT_EQ(aspi.name, "FLASHKIT Document");
  EXPECT_EQ(aspi.extension, ".hex");
  EXPECT_EQ(flash::DocumentStringPart(resources::kAspiDocumentString,
                                      flash::DocumentStringField::kWindowTitle),
            "FLASHKIT");
  EXPECT_EQ(flash::DocumentStringPart(resources::kAspiDocumentString,
                                      flash::DocumentStringField::kDocumentName),
            "");

  // flashspti's string is a window title only: no type, nothing to register.
  const flash::DocumentType spti = flash::DocumentTypeOf(resources::kSptiDocumentString);
  EXPECT_EQ(spti.id, "");
  EXPECT_EQ(spti.extension, "");

  // A type without a name of its own is described by its id.
  const flash::DocumentType unnamed = flash::DocumentTypeOf("T\n\n\n\n.x\nA.Doc");
  EXPECT_EQ(unnamed.name, "A.Doc");
  EXPECT_EQ(unnamed.extension, ".x");
}

TEST(DocumentType, ExtensionIsTakenOnlyWhenFreeOrOurs) {
  EXPECT_TRUE(flash::ClaimsExtension("", "FLASHKIT.Document"));
  EXPECT_TRUE(flash::ClaimsExtension("FLASHKIT.Document", "FLASHKIT.Document"));
  EXPECT_FALSE(flash::ClaimsExtension("hexfile", "FLASHKIT.Document"));
  EXPECT_FALSE(flash::ClaimsExtension("FLASHKIT.Document2", "FLASHKIT.Document"));
}

}  // namespace
